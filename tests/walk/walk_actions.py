"""What a user can do at a given moment: each action says when it can be taken, how much
an impatient user likes it, chooses its details with the walk's random generator, does it
with real input, and tells the model what it meant."""
import string

import os

from walk_files import (EFFECT_PER_KEY, BTNFUNC_DEFAULT, BTNFUNC_KEY, BTNFUNC_LAUNCH, BTNFUNC_MACRO, SLOT_COUNT, read_profile,
                        write_profile)
from walk_model import (ALLOWED, DELAY_MAX, INSERTED_KEY_DELAY, MACRO_LIMIT, PAGE_KEY, PAGE_LAUNCH, PAGE_MACRO,
                        REQUIRED, Profile, compare_profile, partner_of, recorded)

LETTERS = string.ascii_lowercase + "1234567890"


def key_code(letter):
    if letter in string.ascii_lowercase:
        return 0x04 + string.ascii_lowercase.index(letter)
    return 0x1E + "1234567890".index(letter)


EFFECT_ROWS = [1, 2, 3, 8, 9, 10, 11, 12, 13, 15, 16, 18]  # the effects menu's rows
EFFECT_ROWS_SHOWN = 6  # the rows shown without scrolling
EFFECTS_MENU_SIZE = (260, 108)
EFFECTS_WITH_COLOR_FIELDS = {16, 19}  # single colour and per key: the red, green and blue fields show
EFFECTS_WITHOUT_PRESETS = {3, 8, 9, 18, 19}
SINGLE_COLOUR_EFFECT = 16  # a preset there is also the colour sent
PRESET_COLOURS = [0x2020FF, 0x008AFF, 0x00E1FF, 0x40E020, 0xFFD800, 0xFF5020, 0xFF30A0, 0xFFFFFF]
NEUTRAL_MAIN = (700, 600)  # a spot of the main window that no control covers
NEUTRAL_DIALOG = (60, 530)  # the same in the key dialog, on every page
PAGE_BUTTONS = ["BUTTON_SINGLEKEY", "BUTTON_MACRO", "BUTTON_LAUNCH"]


def clickable_slots(layout):
    slots = []
    for index in range(63):
        rect = layout.get(("KEYBOARD", "BUTTON_%d" % (index + 1)))
        text = layout.get(("KEYBOARD", "BUTTON_%d" % (index + 1), "text"))
        if rect and rect[2] > 0 and text not in ("LWIN", "FN"):
            slots.append(index)
    return slots


class Action:
    name = ""
    weight = 1

    def enabled(self, walker):
        return True

    def weigh(self, walker):
        """How much the user likes this action now; the class's weight unless it says more."""
        return self.weight

    def choose(self, walker, rng):
        return {}

    def perform(self, walker, args):
        raise NotImplementedError


def calm(walker):
    """The program runs, shows its main window and asks nothing."""
    m = walker.model
    return m.running and m.main_visible and m.question is None


def dialog_in_front(walker):
    m = walker.model
    return calm(walker) and m.dialog.open and not m.other_in_front


def main_free(walker):
    m = walker.model
    return calm(walker) and not m.dialog.open and not m.other_in_front


# -- the main window ----------------------------------------------------------------------

class ClickProfile(Action):
    name, weight = "profile", 4

    def enabled(self, w):
        return calm(w) and not w.model.other_in_front

    def choose(self, w, rng):
        return {"index": rng.randrange(3)}

    def perform(self, w, args):
        w.click_main("MAIN", "BUTTON_PROFILE_%d" % (args["index"] + 1))
        if not w.model.dialog.open:  # while the key dialog is open the main window's buttons wait
            w.model.current = args["index"]


class Apply(Action):
    name, weight = "apply", 5

    def enabled(self, w):
        return main_free(w)

    def perform(self, w, args):
        m = w.model
        w.click_main("MAIN", "BUTTON_APPLY", settle=0.1)
        m.saved[m.current] = m.profile().copy()
        m.saved_current = m.current
        w.expect_write(check_files=True)


class OkMain(Apply):
    name, weight = "main-ok", 1

    def perform(self, w, args):
        m = w.model
        w.click_main("MAIN", "BUTTON_OK", settle=0.1)
        m.saved[m.current] = m.profile().copy()
        m.saved_current = m.current
        m.main_visible = False
        w.expect_write(check_files=True)


class ResetProfile(Action):
    name, weight = "reset", 1

    def enabled(self, w):
        return main_free(w)

    def perform(self, w, args):
        m = w.model
        w.click_main("MAIN", "BUTTON_RESET")

        def confirmed():
            m.profiles[m.current] = m.factory[m.current].copy()
            m.saved[m.current] = m.profile().copy()
            m.saved_current = m.current
            w.expect_write(check_files=True)
        m.question = ("reset warning", REQUIRED, confirmed, lambda: None)


class HideMain(Action):
    name, weight = "hide", 1

    def enabled(self, w):
        return main_free(w)

    def choose(self, w, rng):
        return {"button": rng.choice(["BUTTON_EXIT", "BUTTON_CANCEL"])}

    def perform(self, w, args):
        w.click_main("MAIN", args["button"])
        w.model.main_visible = False


class ShowBySecondStart(Action):
    name, weight = "second-start", 6

    def enabled(self, w):
        m = w.model
        return m.running and not m.main_visible and m.question is None

    def perform(self, w, args):
        w.program.second_start()
        w.program.wait_for(lambda: w.program.main_window() is not None, 10)
        w.model.main_visible = True
        w.model.other_in_front = False
        w.activate_main()


class ShowFromTray(Action):
    """A double click on the tray icon, which is there while the program runs."""
    name, weight = "tray-show", 4

    def enabled(self, w):
        m = w.model
        return m.running and not m.main_visible and m.question is None

    def perform(self, w, args):
        icon = w.program.tray_icon()
        if icon is None:
            w.fail("no tray icon while the program runs")
            return
        w.program.double_click_at(*icon)
        w.program.wait_for(lambda: w.program.main_window() is not None, 5)
        w.model.main_visible = True
        w.model.other_in_front = False
        w.activate_main()


class Quit(Action):
    """Alt+F4 on the main window, only when nothing is left unapplied (then no question)."""
    name, weight = "quit-restart", 1

    def enabled(self, w):
        return main_free(w) and not w.model.unapplied() and not w.model.lighting_visible

    def perform(self, w, args):
        w.activate_main()
        w.program.press("alt+F4")
        w.expect_quit_and_restart()


class ExitFromTray(Action):
    """The tray menu's Exit. With profiles whose edits are not applied the program asks
    first (the main window shows for it): Apply and quit, Quit anyway, or Stay."""
    name, weight = "tray-exit", 1

    def enabled(self, w):
        m = w.model
        return m.running and m.question is None and m.plugged and not m.dialog.open

    def perform(self, w, args):
        m = w.model
        if not w.exit_from_tray():
            return
        if not any(p != s for p, s in zip(m.profiles, m.saved)):
            w.expect_quit_and_restart()
            return
        m.main_visible, m.other_in_front = True, False

        def apply_and_quit():
            m.saved = [p.copy() for p in m.profiles]
            m.saved_current = m.current
            w.expect_quit_and_restart()

        def stay():
            w.activate_main()
        answers = {"BUTTON_APPLY_AND_QUIT": apply_and_quit, "BUTTON_DISCARD_AND_QUIT": w.expect_quit_and_restart,
                   "BUTTON_STAY": stay}
        m.question = ("unapplied edits at the tray's Exit", REQUIRED, apply_and_quit, stay, answers)


class ChangeLanguage(Action):
    """The settings menu's language rows: English, Chinese, Spanish. The settings file is
    written at once, with the current profile."""
    name, weight = "language", 1
    ROWS = {2: 101, 3: 106, 4: 108}

    def enabled(self, w):
        return main_free(w)

    def choose(self, w, rng):
        return {"row": rng.choice(sorted(self.ROWS))}

    def perform(self, w, args):
        m = w.model
        if not w.pick_settings_row(args["row"]):
            return
        w.program.wait_for(lambda: False, 0.45)
        m.language = self.ROWS[args["row"]]
        m.saved_current = m.current
        w.check_files()


IMPORT_ROW, EXPORT_ROW = 0, 1  # the settings menu's rows
IMPORT_PROGRAM = "C:\\windows\\notepad.exe"
# The import review's buttons, left to right, by their layout names.
IMPORT_REVIEW_BUTTONS = ["BUTTON_KEEP", "BUTTON_LEAVE_OUT", "BUTTON_CANCEL"]


class ImportProfile(Action):
    """Import of a profile file the walker wrote: some keys get another key, a macro (one
    of the library or one it lacks) or a program, the lighting is drawn at random. Keys
    with a program or a missing macro are listed for review: Keep or Leave out."""
    name, weight = "import", 1

    def enabled(self, w):
        return main_free(w)

    def choose(self, w, rng):
        keys = []
        for slot in rng.sample(w.slots, rng.randrange(1, 6)):
            kind = rng.choice(["key", "key", "macro", "macro", "launch"])
            if kind == "key":
                keys.append([slot, kind, rng.choice(LETTERS)])
            elif kind == "macro":
                library = w.model.library()
                name = rng.choice(library) if library and rng.random() < 0.6 else "Gone %d" % rng.randrange(100)
                keys.append([slot, kind, name])
            else:
                keys.append([slot, kind, IMPORT_PROGRAM])
        colors = [[slot, rng.randrange(1 << 24)] for slot in rng.sample(w.slots, rng.randrange(0, 20))]
        lighting = {"effect": rng.choice(EFFECT_ROWS + [19, 19]), "bright": rng.randrange(5),
                    "speed": rng.randrange(5), "color": rng.randrange(1 << 24), "colortype": rng.randrange(8)}
        return {"keys": keys, "colors": colors, "lighting": lighting, "keep": rng.random() < 0.5}

    def perform(self, w, args):
        m = w.model
        slots = [[BTNFUNC_DEFAULT, 0, "", 0, ""] for _ in range(SLOT_COUNT)]
        for slot, kind, value in args["keys"]:
            if kind == "key":
                slots[slot][:2] = [BTNFUNC_KEY, key_code(value)]
            elif kind == "macro":
                slots[slot][0], slots[slot][2] = BTNFUNC_MACRO, value
            else:
                slots[slot][0], slots[slot][4] = BTNFUNC_LAUNCH, value
        for slot, color in args["colors"]:
            slots[slot][3] = color
        path = w.program.work_file("import-%d.profile" % w.step_number)
        write_profile(path, [tuple(s) for s in slots], args["lighting"])
        if not w.pick_settings_row(IMPORT_ROW) or not w.answer_file_dialog(path):
            return
        listed = [index for index, s in enumerate(slots)
                  if s[0] == BTNFUNC_LAUNCH or (s[0] == BTNFUNC_MACRO and s[2] not in m.macros)]
        if listed:
            button = IMPORT_REVIEW_BUTTONS[0 if args["keep"] else 1]
            if not w.answer_import_review(button, IMPORT_REVIEW_BUTTONS):
                return
            if not args["keep"]:
                for index in listed:
                    slots[index][:3] = [BTNFUNC_DEFAULT, 0, ""]
        m.profiles[m.current] = Profile({"slots": [tuple(s[:4]) for s in slots], "lighting": dict(args["lighting"])})


class ExportProfile(Action):
    """Export: the file written equals the current profile as last applied."""
    name, weight = "export", 1

    def enabled(self, w):
        return main_free(w)

    def perform(self, w, args):
        m = w.model
        path = w.program.work_file("export-%d.profile" % w.step_number)
        if os.path.exists(path):
            os.remove(path)
        if not w.pick_settings_row(EXPORT_ROW) or not w.answer_file_dialog(path):
            return
        if not w.program.wait_for(lambda: read_profile(path) is not None, 5):
            w.fail("the export wrote no readable file")
            return
        for problem in compare_profile("the exported file", m.saved[m.current], read_profile(path))[:6]:
            w.fail("export: " + problem, "files")


class ToggleLighting(Action):
    name, weight = "lighting", 2

    def enabled(self, w):
        return main_free(w)

    def perform(self, w, args):
        w.click_main("MAIN", "BUTTON_BACKLIGHT")
        w.model.lighting_visible = not w.model.lighting_visible
        # The panel takes its time to show (seconds on a busy machine); the next click must find it.
        if not w.program.wait_for(lambda: w.lighting_panel_shown() == w.model.lighting_visible, 20, 0.2):
            w.fail("the lighting panel is not %s 20 s after its button" %
                   ("shown" if w.model.lighting_visible else "hidden"))


class ColorKey(Action):
    """A key of the per-key effect's editor clicked: it takes the effect's colour, or goes
    dark when it has that colour already."""
    name, weight = "colour-key", 3

    def enabled(self, w):
        m = w.model
        return main_free(w) and m.lighting_visible and m.profile().lighting["effect"] == EFFECT_PER_KEY

    def choose(self, w, rng):
        return {"slot": rng.choice(w.slots)}

    def perform(self, w, args):
        w.click_main("KEYBOARD", "BUTTON_%d" % (args["slot"] + 1))
        profile = w.model.profile()
        slot, picked = profile.slots[args["slot"]], profile.lighting["color"]
        slot.color = 0 if slot.color == picked or picked == 0 else picked


class ChooseEffect(Action):
    """The effects menu, scrolled by the mouse wheel to its start, or to its end for the
    rows below the first six, and an effect picked."""
    name, weight = "effect", 3

    def enabled(self, w):
        return main_free(w) and w.model.lighting_visible

    def choose(self, w, rng):
        return {"row": rng.randrange(len(EFFECT_ROWS))}

    def perform(self, w, args):
        w.click_main("LIGHTING", "BUTTON_MENU", settle=0.3)
        w.program.wait_for(lambda: w.program.window_of_size(EFFECTS_MENU_SIZE) is not None, 3)
        menu = w.program.window_of_size(EFFECTS_MENU_SIZE)
        if menu is None:
            w.fail("the effects menu did not open")
            return
        # The menu opens scrolled to the current effect: it is scrolled to its start or its end.
        row, hidden = args["row"], len(EFFECT_ROWS) - EFFECT_ROWS_SHOWN
        w.program.scroll_at(menu[1] + 100, menu[2] + 50, hidden if row >= EFFECT_ROWS_SHOWN else -hidden)
        if row >= EFFECT_ROWS_SHOWN:
            row -= hidden
        w.program.click_at(menu[1] + 100, menu[2] + 9 + 18 * row)
        m = w.model
        m.profile().lighting["effect"] = EFFECT_ROWS[args["row"]]


class TypeColor(Action):
    """A number typed into the red, green or blue field (emptied first) while the effect
    shows them: the effect's colour takes it, kept to 255."""
    name, weight = "rgb", 3
    FIELDS = {"EDIT_R": 0, "EDIT_G": 8, "EDIT_B": 16}

    def enabled(self, w):
        m = w.model
        return main_free(w) and m.lighting_visible and m.profile().lighting["effect"] in EFFECTS_WITH_COLOR_FIELDS

    def choose(self, w, rng):
        return {"field": rng.choice(sorted(self.FIELDS)), "text": str(rng.randrange(rng.choice([10, 256, 1000])))}

    def perform(self, w, args):
        w.click_main("LIGHTING", args["field"], settle=0.15)
        w.program.press("End")
        w.program.xdotool("key", "--delay", 20, *["BackSpace"] * 4)
        w.program.type_keys(args["text"])
        lighting = w.model.profile().lighting
        shift = self.FIELDS[args["field"]]
        lighting["color"] = lighting["color"] & ~(0xFF << shift) | min(int(args["text"]), 255) << shift


class ChoosePreset(Action):
    name, weight = "colour-preset", 3

    def enabled(self, w):
        m = w.model
        return main_free(w) and m.lighting_visible and m.profile().lighting["effect"] not in EFFECTS_WITHOUT_PRESETS

    def choose(self, w, rng):
        return {"index": rng.randrange(8)}

    def perform(self, w, args):
        w.click_main("LIGHTING", "RECT_COLORSLIDER_%d" % (args["index"] + 1))
        lighting = w.model.profile().lighting
        lighting["colortype"] = args["index"]
        if lighting["effect"] == SINGLE_COLOUR_EFFECT:
            lighting["color"] = PRESET_COLOURS[args["index"]]


# -- the key assignment dialog ------------------------------------------------------------

class OpenKey(Action):
    name, weight = "open-key", 6

    def enabled(self, w):
        return main_free(w) and not w.model.lighting_visible

    def choose(self, w, rng):
        return {"slot": rng.choice(w.slots)}

    def perform(self, w, args):
        m = w.model
        w.click_main("KEYBOARD", "BUTTON_%d" % (args["slot"] + 1), settle=0.5)
        d = m.dialog
        d.open, d.macro_only, d.slot = True, False, args["slot"]
        d.working = m.profile().slots[args["slot"]].copy()
        page = {BTNFUNC_MACRO: PAGE_MACRO, BTNFUNC_LAUNCH: PAGE_LAUNCH}.get(d.working.function, PAGE_KEY)
        d.page = page
        if page == PAGE_MACRO:
            m.load_macro_page()


class OpenMacroEditor(Action):
    name, weight = "macro-editor", 2

    def enabled(self, w):
        return main_free(w)

    def perform(self, w, args):
        m = w.model
        w.click_main("MAIN", "BUTTON_MACRO", settle=0.5)
        d = m.dialog
        d.open, d.macro_only, d.slot = True, True, None  # the working slot stays the last key's
        d.page = PAGE_MACRO
        m.load_macro_page()


def question_for_leaving_macro_page(model):
    dirty = model.dialog.dirty() if model.dialog.page == PAGE_MACRO else False
    if dirty is True:
        return REQUIRED
    return ALLOWED if dirty is None else None


class SwitchPage(Action):
    name, weight = "page", 5

    def enabled(self, w):
        return dialog_in_front(w) and not w.model.dialog.macro_only

    def choose(self, w, rng):
        d = w.model.dialog
        pages = [PAGE_MACRO] if d.macro_only else [PAGE_KEY, PAGE_MACRO, PAGE_LAUNCH]
        others = [p for p in pages if p != d.page]
        return {"page": rng.choice(others)} if others else {"page": d.page}

    def perform(self, w, args):
        m, page = w.model, args["page"]
        d = m.dialog
        if page == d.page:
            return
        w.click_dialog("KEY_ASSIGNMENT", PAGE_BUTTONS[page], settle=0.5)
        need = question_for_leaving_macro_page(m) if page != PAGE_MACRO else None
        if need is None:
            m.show_page(page)
        else:
            # Kept after the question, a recording may have been stopped before it was asked
            # (the rules leave that open): the walker then reads the record button.
            m.question = ("unsaved macro edits at a page switch", need, lambda: m.show_page(page),
                          lambda: w.read_recording_state())


class TypeInDialog(Action):
    """A key typed while the dialog is in front: captured on the single-key page,
    recorded while recording."""
    name, weight = "type", 5

    def enabled(self, w):
        d = w.model.dialog
        if not dialog_in_front(w):
            return False
        if d.recording:
            return d.buffer is not None and len(d.buffer) <= MACRO_LIMIT - 2
        return d.page == PAGE_KEY

    def weigh(self, w):
        return 10 if w.model.dialog.recording else self.weight

    def choose(self, w, rng):
        return {"letter": rng.choice(LETTERS)}

    def perform(self, w, args):
        d = w.model.dialog
        w.program.type_keys(args["letter"])
        code = key_code(args["letter"])
        if d.recording:
            d.buffer += [recorded(True, code), recorded(False, code)]
        elif d.page == PAGE_KEY and d.working is not None:
            d.working.function, d.working.key = BTNFUNC_KEY, code


class Record(Action):
    name, weight = "record", 4

    def enabled(self, w):
        return dialog_in_front(w) and w.model.dialog.page == PAGE_MACRO

    def weigh(self, w):
        d = w.model.dialog
        return 8 if d.recording and d.buffer else self.weight

    def perform(self, w, args):
        d = w.model.dialog
        w.click_dialog("MACRO", "BUTTON_RECORD")
        d.recording = not d.recording
        if d.recording:
            d.before_run = None if d.buffer is None else list(d.buffer)
        else:
            d.run_ended()


class ClearMacro(Action):
    name, weight = "clear-macro", 1

    def enabled(self, w):
        d = w.model.dialog
        return dialog_in_front(w) and d.page == PAGE_MACRO and not d.recording

    def perform(self, w, args):
        w.click_dialog("MACRO", "BUTTON_CLEAR")
        d = w.model.dialog
        before, d.buffer = d.buffer, []
        d.edited(before)
        d.row = -1


class ResetKey(Action):
    name, weight = "reset-key", 1

    def enabled(self, w):
        d = w.model.dialog
        return dialog_in_front(w) and not d.macro_only and not (d.page == PAGE_MACRO and d.dirty() is not False)

    def perform(self, w, args):
        m = w.model
        w.click_dialog("KEY_ASSIGNMENT", "BUTTON_RESET")
        m.show_page(PAGE_KEY)
        m.dialog.working.function = BTNFUNC_DEFAULT


# -- the macro page's editing ----------------------------------------------------------

EVENT_LIST_ROWS_SHOWN = 18  # rows of the event list that show without scrolling, with room to spare


def macro_page_idle(w):
    d = w.model.dialog
    return dialog_in_front(w) and d.page == PAGE_MACRO and not d.recording


def macro_editable(w):
    """The macro page waits for an edit and the walker knows its events and selection."""
    d = w.model.dialog
    return macro_page_idle(w) and d.buffer is not None and d.row is not None


class SelectEventRow(Action):
    """A click on a row of the event list (only while every row shows, so the row is where
    the walker counts it)."""
    name, weight = "event-row", 6

    def enabled(self, w):
        d = w.model.dialog
        return macro_page_idle(w) and d.buffer is not None and 0 < len(d.buffer) <= EVENT_LIST_ROWS_SHOWN

    def choose(self, w, rng):
        return {"row": rng.randrange(len(w.model.dialog.buffer))}

    def perform(self, w, args):
        d = w.model.dialog
        if args["row"] >= len(d.buffer):
            return
        w.click_event_row(args["row"])
        d.row = args["row"]


class SetEventDelay(Action):
    """The delay field is emptied, a number typed, and Set pressed: the selected event
    waits that long (kept to 1..32767 ms); without a selected row nothing changes."""
    name, weight = "set-delay", 3

    def enabled(self, w):
        return macro_editable(w)

    def choose(self, w, rng):
        digits = rng.choice([1, 1, 2, 3, 4, 5])
        return {"text": str(rng.randrange(10 ** digits))}

    def perform(self, w, args):
        d = w.model.dialog
        w.click_dialog("MACRO", "EDIT_EVENTDELAY", settle=0.15)
        w.program.press("End")
        w.program.xdotool("key", "--delay", 20, *["BackSpace"] * 6)
        w.program.type_keys(args["text"])
        w.click_dialog("MACRO", "BUTTON_SETDELAY")
        row = d.row
        if not 0 <= row < len(d.buffer) or not args["text"].isdigit():
            return
        before = list(d.buffer)
        press, code, _ = d.buffer[row]
        d.buffer[row] = (press, code, min(max(int(args["text"]), 1), DELAY_MAX))
        d.edited(before)


class InsertKey(Action):
    """Insert key, then a key typed: its press and release go after the selected row (at
    the end without one), each 20 ms after the event before."""
    name, weight = "insert-key", 5

    def enabled(self, w):
        d = w.model.dialog
        return macro_editable(w) and len(d.buffer) + 2 <= MACRO_LIMIT

    def choose(self, w, rng):
        return {"letter": rng.choice(LETTERS)}

    def perform(self, w, args):
        d = w.model.dialog
        w.click_dialog("MACRO", "BUTTON_INSERTKEY", settle=0.25)
        w.program.type_keys(args["letter"])
        code = key_code(args["letter"])
        at = d.row + 1 if 0 <= d.row < len(d.buffer) else len(d.buffer)
        before = list(d.buffer)
        d.buffer[at:at] = [(True, code, INSERTED_KEY_DELAY), (False, code, INSERTED_KEY_DELAY)]
        d.edited(before)
        d.row = at


class ChangeKey(Action):
    """Change key, then a key typed: the selected event and its partner take that key.
    Without a selected row the button only asks for one, and no key is typed."""
    name, weight = "change-key", 3

    def enabled(self, w):
        return macro_editable(w)

    def choose(self, w, rng):
        return {"letter": rng.choice(LETTERS)}

    def perform(self, w, args):
        d = w.model.dialog
        w.click_dialog("MACRO", "BUTTON_CHANGEKEY", settle=0.25)
        if not 0 <= d.row < len(d.buffer):
            return
        w.program.type_keys(args["letter"])
        code = key_code(args["letter"])
        before = list(d.buffer)
        for row in (d.row, partner_of(d.buffer, d.row)):
            if row is not None:
                press, _, delay = d.buffer[row]
                d.buffer[row] = (press, code, delay)
        d.edited(before)


class DeleteEvent(Action):
    """Delete: the selected event goes, with its partner; the row that takes the place of
    the first one gone is selected (or the new last row)."""
    name, weight = "delete-event", 3

    def enabled(self, w):
        return macro_editable(w)

    def perform(self, w, args):
        d = w.model.dialog
        w.click_dialog("MACRO", "BUTTON_DELETE")
        if not 0 <= d.row < len(d.buffer):
            return
        partner = partner_of(d.buffer, d.row)
        rows = {d.row} if partner is None else {d.row, partner}
        before = list(d.buffer)
        d.buffer = [event for index, event in enumerate(d.buffer) if index not in rows]
        d.edited(before)
        d.row = min(min(rows), len(d.buffer) - 1)


class UndoEdit(Action):
    """Undo: the events as they were before the latest edit (or recording run)."""
    name, weight = "undo", 3

    def enabled(self, w):
        d = w.model.dialog
        return macro_page_idle(w) and d.buffer is not None and d.undo is not None

    def perform(self, w, args):
        d = w.model.dialog
        w.click_dialog("MACRO", "BUTTON_UNDO")
        if not d.undo:
            return
        d.buffer = d.undo.pop()
        if d.row is not None:
            d.row = min(d.row, len(d.buffer) - 1)


def discard_question(model):
    """Whether loading another macro must ask, may ask, or must not (None) before it drops
    the edits of the one shown."""
    dirty = model.dialog.dirty()
    if dirty is None:
        return ALLOWED
    return REQUIRED if dirty else None


def after_discard_question(w, name, act):
    """Acts at once, or once the question is answered OK."""
    need = discard_question(w.model)
    if need is None:
        act()
    else:
        w.model.question = ("unsaved macro edits at " + name, need, act, lambda: None)


class PickMacro(Action):
    """The macro menu, and a row of it (among the six that show without scrolling)."""
    name, weight = "pick-macro", 3

    def enabled(self, w):
        return macro_page_idle(w)

    def choose(self, w, rng):
        return {"index": rng.randrange(min(6, len(w.model.library())))}

    def perform(self, w, args):
        m = w.model
        library = m.library()
        if args["index"] >= len(library):
            return
        before = {window[0] for window in w.program.windows()}
        w.click_dialog("MACRO", "BUTTON_MACROMENU", settle=0.3)

        def new_menus():
            return [window for window in w.program.windows() if window[0] not in before and window[4] >= 18]
        w.program.wait_for(lambda: bool(new_menus()), 3)
        menus = new_menus()
        if not menus:
            w.fail("the macro menu did not open")
            return
        menu = menus[0]
        w.program.click_at(menu[1] + 60, menu[2] + 9 + 18 * args["index"], settle=0.5)
        after_discard_question(w, "a macro picked from the menu", lambda: m.load_macro(library[args["index"]]))


class NewMacro(Action):
    """New: the next free name "Macro n" is written at once, empty, and shown."""
    name, weight = "new-macro", 1

    def enabled(self, w):
        return macro_page_idle(w)

    def perform(self, w, args):
        m = w.model
        w.click_dialog("MACRO", "BUTTON_MACRONEW", settle=0.5)

        def create():
            name = m.next_macro_name()
            m.macros[name] = []
            m.load_macro(name)
            w.check_macro_files()
        after_discard_question(w, "New", create)


class DeleteMacro(Action):
    """Delete macro: the shown macro's file goes at once (never the last one), and the
    first macro of the library is shown."""
    name, weight = "delete-macro", 1

    def enabled(self, w):
        return macro_page_idle(w)

    def perform(self, w, args):
        m = w.model
        w.click_dialog("MACRO", "BUTTON_MACRODELETE", settle=0.5)
        if len(m.macros) <= 1:
            return

        def delete():
            del m.macros[m.dialog.loaded]
            m.load_macro(m.library()[0])
            w.check_macro_files()
        after_discard_question(w, "Delete macro", delete)


class DialogOk(Action):
    name, weight = "dialog-ok", 4

    def enabled(self, w):
        return dialog_in_front(w) and not w.model.dialog.recording

    def perform(self, w, args):
        m = w.model
        d = m.dialog
        w.click_dialog("KEY_ASSIGNMENT", "BUTTON_OK")
        if d.macro_only:
            if d.page == PAGE_MACRO:
                m.save_dialog_macro()
        else:
            if d.working.function == BTNFUNC_MACRO:
                m.save_dialog_macro()
            m.profile().slots[d.slot] = d.working.copy()
        d.open = False


class DialogCancel(Action):
    name, weight = "dialog-cancel", 3

    def enabled(self, w):
        return dialog_in_front(w) and not w.model.dialog.recording

    def perform(self, w, args):
        m = w.model
        w.click_dialog("KEY_ASSIGNMENT", "BUTTON_CANCEL")

        def close():
            if m.dialog.page == PAGE_MACRO and m.dialog.dirty() is not False:
                m.dialog.lose_track()
            m.dialog.open = False
        need = question_for_leaving_macro_page(m)
        if need is None:
            close()
        else:
            m.question = ("unsaved macro edits at Cancel", need, close, lambda: None)


# -- another program ----------------------------------------------------------------------

class TypeInOtherProgram(Action):
    """Notepad is clicked and a key typed there: it belongs to notepad alone."""
    name, weight = "type-elsewhere", 4

    def enabled(self, w):
        m = w.model
        return m.running and m.question is None

    def choose(self, w, rng):
        return {"letter": rng.choice(LETTERS)}

    def perform(self, w, args):
        m = w.model
        w.program.click_notepad()
        if m.dialog.recording:
            # Leaving the program ends a recording as Stop would; the click that left may
            # already have been taken.
            m.dialog.recording = False
            m.dialog.lose_track()
            m.dialog.run_ended()
        m.other_in_front = True
        w.program.type_keys(args["letter"])


class BackToProgram(Action):
    name, weight = "back", 8

    def enabled(self, w):
        m = w.model
        return m.running and m.main_visible and m.other_in_front and m.question is None

    def perform(self, w, args):
        m = w.model
        if m.dialog.open:
            w.click_dialog_at(*NEUTRAL_DIALOG)
        else:
            w.activate_main()
        m.other_in_front = False


# -- the keyboard -------------------------------------------------------------------------

class Replug(Action):
    name, weight = "plug", 1

    def enabled(self, w):
        return w.model.running and w.model.question is None

    def perform(self, w, args):
        m = w.model
        if not w.program.set_plug(not m.plugged):
            w.fail("the keyboard double's %s was not taken" % ("unplug" if m.plugged else "plug"))
        m.plugged = not m.plugged
        if m.plugged:
            w.program.wait_for(lambda: False, 0.5)  # the arrival's pause before the open
            if m.write_waiting:
                # An apply made without the keyboard is written when it comes back.
                m.write_waiting = False
                w.expect_write(check_files=False)


# -- questions ----------------------------------------------------------------------------

class AnswerQuestion(Action):
    """A click on a button of the question asked: OK or Cancel, or, for a question with
    answers of its own, one of them by its layout name."""
    name, weight = "answer", 1

    def enabled(self, w):
        return w.model.question is not None

    def choose(self, w, rng):
        question = w.model.question
        if len(question) > 4:
            return {"button": rng.choice(sorted(question[4]))}
        return {"ok": rng.random() < 0.5}

    def perform(self, w, args):
        m = w.model
        question = m.question
        warning = w.program.window_of_size((440, 240))
        m.question = None
        if warning is None:
            w.fail("the question to answer is not shown")
            return
        answers = question[4] if len(question) > 4 else {"BUTTON_OK": question[2], "BUTTON_CANCEL": question[3]}
        button = args.get("button") or ("BUTTON_OK" if args.get("ok") else "BUTTON_CANCEL")
        if button not in answers:  # a replayed step for another question: its first answer
            button = sorted(answers)[0]
        rect = w.program.layout[("WARN_STRING", button)]
        w.program.click_control((warning[1], warning[2]), rect, settle=0.5)
        answers[button]()


ACTIONS = [ClickProfile(), Apply(), OkMain(), ResetProfile(), HideMain(), ShowBySecondStart(), ShowFromTray(), Quit(), ExitFromTray(),
           ChangeLanguage(), ImportProfile(), ExportProfile(), ToggleLighting(), ColorKey(), ChooseEffect(), TypeColor(), ChoosePreset(), OpenKey(), OpenMacroEditor(), SwitchPage(),
           TypeInDialog(), Record(), ClearMacro(), SelectEventRow(), SetEventDelay(), InsertKey(), ChangeKey(),
           DeleteEvent(), UndoEdit(), PickMacro(), NewMacro(), DeleteMacro(), ResetKey(), DialogOk(), DialogCancel(),
           TypeInOtherProgram(),
           BackToProgram(), Replug(), AnswerQuestion()]
ACTIONS_BY_NAME = {a.name: a for a in ACTIONS}
