"""Where everything sits: the one source of the skin's coordinates.

generate.py draws the images from these numbers and writes the two layout files
(KeyboardButtons.xml, Buttons.xml) from the same numbers, so pictures and layout
entries cannot drift apart.
"""

MAIN_W, MAIN_H = 1200, 672          # main background; the top 48 pixels are the drag strip
TOP_H = 48
SIDE_W = 220
BOTTOM_Y = 600                      # bottom command bar
CONTENT = (SIDE_W, TOP_H, MAIN_W, BOTTOM_Y)   # what the lighting panel covers

UNIT = 60                           # one key unit in pixels
KB_X, KB_Y = 260, 84                # top-left of the key grid
CASE = (244, 68, 932, 332)          # keyboard case: x, y, w, h

# The 63 keys: slot, row, x and width in key units, layout label, legend.
# A legend is a string (one centred legend) or (shifted, unshifted).
KEYS = [
    (0, 0, 0.0, 1, "ESC", "Esc"),
    (1, 0, 1.0, 1, "1", ("!", "1")), (2, 0, 2.0, 1, "2", ("@", "2")),
    (3, 0, 3.0, 1, "3", ("#", "3")), (4, 0, 4.0, 1, "4", ("$", "4")),
    (5, 0, 5.0, 1, "5", ("%", "5")), (6, 0, 6.0, 1, "6", ("^", "6")),
    (7, 0, 7.0, 1, "7", ("&", "7")), (8, 0, 8.0, 1, "8", ("*", "8")),
    (9, 0, 9.0, 1, "9", ("(", "9")), (10, 0, 10.0, 1, "0", (")", "0")),
    (11, 0, 11.0, 1, "MINUS", ("_", "-")), (12, 0, 12.0, 1, "EQUAL", ("+", "=")),
    (13, 0, 13.0, 2, "BACKSPACE", "Backspace"),
    (14, 1, 0.0, 1.5, "TAB", "Tab"),
] + [(15 + i, 1, 1.5 + i, 1, c, c) for i, c in enumerate("QWERTYUIOP")] + [
    (25, 1, 11.5, 1, "LBRACKET", ("{", "[")), (26, 1, 12.5, 1, "RBRACKET", ("}", "]")),
    (27, 1, 13.5, 1.5, "BACKSLASH", ("|", "\\")),
    (28, 2, 0.0, 1.75, "CAPSLOCK", "Caps Lock"),
] + [(29 + i, 2, 1.75 + i, 1, c, c) for i, c in enumerate("ASDFGHJKL")] + [
    (38, 2, 10.75, 1, "SEMICOLON", (":", ";")), (39, 2, 11.75, 1, "QUOTE", ("\"", "'")),
    (61, 2, 12.75, 1, "HASH", ("~", "#")), (40, 2, 13.75, 1.25, "ENTER", "Enter"),
    (41, 3, 0.0, 1.25, "LSHIFT", "Shift"), (62, 3, 1.25, 1, "INTL", (">", "<")),
] + [(42 + i, 3, 2.25 + i, 1, c, c) for i, c in enumerate("ZXCVBNM")] + [
    (49, 3, 9.25, 1, "COMMA", ("<", ",")), (50, 3, 10.25, 1, "PERIOD", (">", ".")),
    (51, 3, 11.25, 1, "SLASH", ("?", "/")), (52, 3, 12.25, 2.75, "RSHIFT", "Shift"),
    (53, 4, 0.0, 1.25, "LCTRL", "Ctrl"), (54, 4, 1.25, 1.25, "LWIN", "@win"),
    (55, 4, 2.5, 1.25, "LALT", "Alt"), (56, 4, 3.75, 6.25, "SPACE", ""),
    (57, 4, 10.0, 1.25, "RALT", "Alt"), (58, 4, 11.25, 1.25, "FN", "Fn"),
    (59, 4, 12.5, 1.25, "APP", "@menu"), (60, 4, 13.75, 1.25, "RCTRL", "Ctrl"),
]


def key_rect(row, x, w):
    return (KB_X + round(x * UNIT), KB_Y + row * UNIT, round(w * UNIT), UNIT)


def key_image(w):
    return "key%03d" % round(w * 100)


# Lighting strip below the keyboard (covered by the lighting panel).
EFFECT_BUTTON = (260, 422, 260, 40)
SLIDER_BRIGHT = (260, 498, 260, 28)
SLIDER_SPEED = (260, 558, 260, 28)
PRESET_SIZE = (56, 40)
PRESETS = [(580 + (i % 4) * 68, 450 + (i // 4) * 52) for i in range(8)]
PRESET_COLOURS = ["#ff2020", "#ff8a00", "#ffe100", "#20e040",
                  "#00d8ff", "#2050ff", "#a030ff", "#ffffff"]
COLOR_FIELD = (890, 450, 180, 136)
EDIT_RGB = [(1104, 450 + i * 34, 66, 28) for i in range(3)]
SWATCH = (1084, 556, 86, 30)
UNAPPLIED_MARK = 14  # the profile buttons' dot of edits not applied

MAIN_LAYOUT = {
    "BUTTON_MIN": ("btnMin", (1104, 6, 36, 36)),
    "BUTTON_EXIT": ("btnClose", (1150, 6, 36, 36)),
    "BUTTON_APPLY": ("btnPng", (800, 616, 120, 40)),
    "BUTTON_CANCEL": ("btnPng", (1056, 616, 120, 40)),
    "BUTTON_SETTING": ("btnSetting", (1000, 6, 36, 36)),
    "BUTTON_OK": ("btnPng", (928, 616, 120, 40)),
    "BUTTON_PROFILE_1": ("btnSide", (20, 76, 180, 44)),
    "BUTTON_PROFILE_2": ("btnSide", (20, 128, 180, 44)),
    "BUTTON_PROFILE_3": ("btnSide", (20, 180, 180, 44)),
    "BUTTON_MACRO": ("btnSide", (20, 252, 180, 44)),
    "BUTTON_BACKLIGHT": ("btnLight", (20, 308, 44, 44)),
    "BUTTON_RESET": ("btnSide", (20, 376, 180, 44)),
    "LIGHTING": ("LABEL", (74, 308, 130, 44)),
    "KEYBOARD_STATUS": ("LABEL", (600, 0, 384, 48)),
}

ASSIGN_W, ASSIGN_H = 900, 560
ASSIGN_LAYOUT = {
    "BUTTON_CANCEL": ("btnPng", (764, 504, 120, 40)),
    "BUTTON_OK": ("btnPng", (636, 504, 120, 40)),
    "BUTTON_SINGLEKEY": ("btnTab", (24, 16, 150, 40)),
    "BUTTON_MACRO": ("btnTab", (182, 16, 150, 40)),
    "BUTTON_LAUNCH": ("btnTab", (340, 16, 150, 40)),
    "BUTTON_RESET": ("btnResetKey", (836, 16, 40, 40)),
    "BUTTON_CKEY": ("btnKeyCap", (330, 200, 240, 120)),
    "BUTTON_LAUNCHPROGRAM": ("btnProgram", (140, 196, 620, 48)),
    "EDITED_KEY": ("LABEL", (506, 16, 318, 40)),
    "EDITOR_TITLE": ("LABEL", (24, 16, 480, 40)),
}
MACRO_LAYOUT = {
    "BUTTON_MACROMENU": ("btnDrop", (374, 92, 28, 28)),
    "BUTTON_MACRONEW": ("btnPlus", (408, 92, 28, 28)),
    "BUTTON_MACRODELETE": ("btnTrash", (442, 92, 28, 28)),
    "BUTTON_RECORD": ("btnWide", (500, 132, 366, 40)),
    "BUTTON_DELETE": ("btnSmall", (500, 284, 178, 36)),
    "BUTTON_CLEAR": ("btnSmall", (688, 284, 178, 36)),
    "BUTTON_UP": ("btnSmall", (500, 324, 178, 36)),
    "BUTTON_DOWN": ("btnSmall", (688, 324, 178, 36)),
    "BUTTON_TOP": ("btnSmall", (500, 364, 178, 36)),
    "BUTTON_BOTTOM": ("btnSmall", (688, 364, 178, 36)),
    "BUTTON_RECORDDELAY": ("btnCheck", (838, 188, 28, 28)),
    "EDIT_MACRONAME": ("editName", (150, 92, 218, 28)),
    "EDIT_REPEAT": ("editRepeat", (760, 232, 106, 28)),
    "MACRO_DISPLAY": ("LIST", (24, 132, 446, 300)),
    "EDIT_EVENTDELAY": ("editRepeat", (150, 448, 106, 28)),
    "BUTTON_SETDELAY": ("btnMini", (264, 448, 96, 28)),
    "EDIT_PAUSE": ("editPause", (500, 408, 66, 28)),
    "BUTTON_INSERTPAUSE": ("btnMini", (574, 408, 96, 28)),
    "BUTTON_INSERTKEY": ("btnSmall", (688, 404, 178, 36)),
    "BUTTON_CHANGEKEY": ("btnSmall", (500, 444, 178, 36)),
    "BUTTON_UNDO": ("btnSmall", (688, 444, 178, 36)),
}
MACRO_LABELS = {
    "TEXT_MACRONAME": (24, 92, 118, 28),
    "TEXT_DELAY": (500, 188, 330, 28),
    "TEXT_REPEAT": (500, 232, 252, 28),
    "TEXT_FIXEDDELAY": (500, 188, 330, 28),
    "TEXT_EVENTDELAY": (24, 448, 118, 28),
    "TEXT_CAPACITY": (366, 448, 104, 28),
    "TEXT_STATUS": (24, 496, 596, 56),
}
PAGE_TITLE = (40, 100, 820, 64)

WARN_W, WARN_H = 440, 240
WARN_LAYOUT = {
    "BUTTON_OK": ("btnPng", (92, 184, 120, 40)),
    "BUTTON_CANCEL": ("btnPng", (228, 184, 120, 40)),
    "WARNING": ("LABEL", (80, 18, 340, 50)),
    "LAYER_RESET": ("LABEL", (28, 80, 384, 88)),
    "SAVE_CHANGE": ("LABEL", (28, 80, 384, 88)),
    "MAXWARN": ("LABEL", (28, 80, 384, 88)),
    "RECORD_OUTOFRANGE": ("LABEL", (28, 80, 384, 88)),
    "IMPORT_UNREADABLE": ("LABEL", (28, 80, 384, 88)),
    "IMPORT_DAMAGED": ("LABEL", (28, 80, 384, 88)),
    "IMPORT_NOPROFILE": ("LABEL", (28, 80, 384, 88)),
    "DISCARD_MACRO_EDITS": ("LABEL", (28, 80, 384, 88)),
    "MACRO_NAME_IN_USE": ("LABEL", (28, 80, 384, 88)),
    "MACRO_NAME_UNUSABLE": ("LABEL", (28, 80, 384, 88)),
    "MACRO_FULL": ("LABEL", (28, 80, 384, 88)),
    "EXPORT_FAILED": ("LABEL", (28, 80, 384, 88)),
}
# The import review places its buttons itself, below a list as tall as its keys need.
IMPORT_REVIEW_LAYOUT = {
    "BUTTON_KEEP": ("btnSmall", (0, 0, 178, 36)),
    "BUTTON_LEAVE_OUT": ("btnSmall", (0, 0, 178, 36)),
    "BUTTON_CANCEL": ("btnSmall", (0, 0, 178, 36)),
}

LIGHT_LABELS = {
    "BRIGHTNESS": (260, 476, 260, 20),
    "COLOR": (580, 422, 260, 22),
    "COLORCUSTOM": (890, 422, 280, 22),
    "TXR": (1084, 450, 18, 28),
    "TXG": (1084, 484, 18, 28),
    "TXB": (1084, 518, 18, 28),
    "SPEED": (260, 536, 260, 20),
}

MENU_W, MENU_ROW, MENU_ROWS = 180, 18, 6
EFFECT_MENU_W = 260
PROGRESS_W, PROGRESS_H = 750, 150
SCROLL_CELL = 12
