"""The walker's own readers: the data files and the keyboard's report log.

Nothing here uses the program's code. The file formats and the report protocol are
read as the data sheets give them: UTF-16 XML files with one element per line, and
8-byte feature reports (command 0x0A, key map packets 0x0B, macro packets 0x0C).
"""
import os
import xml.etree.ElementTree as ElementTree

SLOT_COUNT = 111
BTNFUNC_DEFAULT, BTNFUNC_DISABLE, BTNFUNC_KEY, BTNFUNC_LAUNCH, BTNFUNC_MACRO = 0, 464, 465, 467, 512

# Key slot -> (row, column) of the keyboard's matrix, for the 63 slots that have a key.
SLOT_CELLS = [
    (1, 1), (1, 2), (1, 3), (1, 4), (1, 5), (1, 6), (1, 7), (1, 8), (1, 9), (1, 10), (1, 11), (1, 12),
    (1, 13), (1, 15), (2, 1), (2, 2), (2, 3), (2, 4), (2, 5), (2, 6), (2, 7), (2, 8), (2, 9), (2, 10),
    (2, 11), (2, 12), (2, 13), (2, 15), (3, 1), (3, 2), (3, 3), (3, 4), (3, 5), (3, 6), (3, 7), (3, 8),
    (3, 9), (3, 10), (3, 11), (3, 12), (3, 15), (4, 1), (4, 3), (4, 4), (4, 5), (4, 6), (4, 7), (4, 8),
    (4, 9), (4, 10), (4, 11), (4, 12), (4, 15), (5, 1), (5, 3), (5, 4), (5, 6), (5, 11), (5, 12), (5, 13),
    (5, 15), (3, 13), (4, 2),
]

DEFAULT_KEY_MAP_ROWS = [
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
    "00 29 1E 1F 20 21 22 23 24 25 26 27 2D 2E 00 2A 00 00 00 00",
    "00 2B 14 1A 08 15 17 1C 18 0C 12 13 2F 30 00 31 00 00 00 00",
    "00 39 04 16 07 09 0A 0B 0D 0E 0F 33 34 32 00 28 00 00 00 00",
    "00 E1 64 1D 1B 06 19 05 11 10 36 37 38 00 00 E5 00 00 00 00",
    "00 E0 00 E3 E2 00 2C 00 00 00 00 E6 AC 65 00 E4 00 00 00 00",
]
DEFAULT_KEY_MAP = bytes(int(b, 16) for row in DEFAULT_KEY_MAP_ROWS for b in row.split())

EFFECT_SINGLE_COLOR, EFFECT_PER_KEY = 16, 19

# Effects whose lighting command carries the colour mode; every other effect sends 7.
EFFECTS_WITH_COLOR_MODE = {1, 2, 7, 10, 11, 12, 13, 14, 15, 16, 17}


def slot_cell(slot):
    if slot >= len(SLOT_CELLS):
        return 0
    row, column = SLOT_CELLS[slot]
    return row * 20 + column


def read_xml(path):
    """The root element of a data file, or None when it is missing or unreadable."""
    try:
        with open(path, "rb") as handle:
            data = handle.read()
    except OSError:
        return None
    try:
        text = data.decode("utf-16")
    except UnicodeDecodeError:
        return None
    text = text.replace('encoding="utf-16"', "", 1)
    try:
        return ElementTree.fromstring(text)
    except ElementTree.ParseError:
        return None


def _number(element, name, default=None):
    child = element.find(name) if element is not None else None
    if child is None or child.text is None:
        return default
    try:
        return int(child.text.strip())
    except ValueError:
        return default


def read_profile(path):
    """{'slots': [(function, key, macro name, key colour)] * 111, 'lighting': {...}} or None."""
    root = read_xml(path)
    if root is None:
        return None
    buttons = root.find("ButtonSet")
    slots = []
    for index in range(SLOT_COUNT):
        button = buttons.find("Button_%d" % index) if buttons is not None else None
        name = button.find("MacroName") if button is not None else None
        slots.append((_number(button, "byBtnFuncType", 0), _number(button, "byKeyNumber", 0),
                      (name.text or "") if name is not None else "", _number(button, "coLightRGB", 0)))
    light = root.find("Lighting")
    lighting = {key: _number(light, field) for key, field in LIGHTING_FIELDS}
    return {"slots": slots, "lighting": lighting}


def _escaped(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def write_profile(path, slots, lighting):
    """The walker's own writer of a profile file as the data sheet gives it: UTF-16 LE with
    its byte-order mark, one element per line ending in CR LF. `slots`: 111 tuples
    (function, key, macro name, key colour, program); `lighting`: the reader's keys."""
    lines = ['<?xml version="1.0" encoding="utf-16"?>', "<root>", "<ButtonSet>"]
    for index, (function, key, macro, color, program) in enumerate(slots):
        lines += ["<Button_%d>" % index, "<byBtnFuncType>%d</byBtnFuncType>" % function,
                  "<launch>%s</launch>" % _escaped(program) if program else "<launch/>",
                  "<MacroName>%s</MacroName>" % _escaped(macro) if macro else "<MacroName/>",
                  "<repeatTime>0</repeatTime>", "<byKeyNumber>%d</byKeyNumber>" % key,
                  "<coLightRGB>%d</coLightRGB>" % color, "</Button_%d>" % index]
    lines += ["</ButtonSet>", "<Lighting>"]
    lines += ["<%s>%d</%s>" % (field, lighting[key], field) for key, field in LIGHTING_FIELDS]
    lines += ["</Lighting>", "</root>"]
    with open(path, "wb") as out:
        out.write(b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le"))


LIGHTING_FIELDS = [("effect", "byLightEffect"), ("bright", "byLightBright"), ("speed", "byLightSpeed"),
                   ("color", "byLightColor"), ("colortype", "byLightColorType")]


def read_settings(path):
    root = read_xml(path)
    if root is None:
        return None
    setting = root.find("Setting")
    return {"profile": _number(setting, "Profile"), "language": _number(setting, "Language")}


def read_macro(path):
    """{'repeat': n, 'events': [(press, code, delay)]} or None: the events up to the first all-zero one."""
    root = read_xml(path)
    if root is None:
        return None
    macro = root.find("Setting")
    if macro is None:
        return None
    events = []
    for index in range(80):
        event = macro.find("Event_%d" % index)
        values = [_number(event, name, 0) for name in ("attributeH", "attributeL", "map")]
        if values == [0, 0, 0]:
            break
        events.append((bool(values[0] & 0x80), values[2], (values[0] & 0x7F) << 8 | values[1]))
    return {"repeat": _number(macro, "Repeat", 0), "events": events}


def library_names(folder):
    """The macro library's names in the order a listing of the folder gives under Wine (its
    directory reads come sorted by name, code unit by code unit), or [] without a folder."""
    try:
        names = os.listdir(os.path.join(folder, "Macros"))
    except OSError:
        return []
    return sorted(n[:-len(".macro")] for n in names if n.lower().endswith(".macro") and len(n) > len(".macro"))


class DiagnosticLog:
    """The lines the program adds to its daily log files ("YYYYMMDD_<tag>.log" in the
    data folder, UTF-8, one line per entry) since the last look."""

    def __init__(self, folder):
        self.folder = folder
        self.offsets = {}

    def new_lines(self):
        lines = []
        try:
            names = sorted(n for n in os.listdir(self.folder) if n.lower().endswith(".log"))
        except OSError:
            return lines
        for name in names:
            path = os.path.join(self.folder, name)
            try:
                with open(path, "rb") as handle:
                    handle.seek(self.offsets.get(name, 0))
                    data = handle.read()
            except OSError:
                continue
            end = data.rfind(b"\n") + 1
            self.offsets[name] = self.offsets.get(name, 0) + end
            lines += data[:end].decode("utf-8", "replace").splitlines()
        return lines


def temporary_files(folder):
    found = []
    for base, _, names in os.walk(folder):
        found += [os.path.join(base, n) for n in names if n.lower().endswith(".tmp")]
    return found


class KeyboardDouble:
    """What the keyboard double holds, decoded from the report log as it grows.

    Keeps the key map, the macro block of each cell, the lighting command, the effect
    colour and the key colours that the keyboard took, and counts the completed writes
    (end-of-update reports). Faults of the sequence (a packet out of order, a report
    the keyboard refused) are collected as text."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.key_map = None
        self.macros = {}
        self.lighting = None
        self.effect_color = None
        self.key_colors = {}
        self.writes = 0
        self.refused = 0
        self.faults = []
        self._expect = None
        self._packets = []
        self._macro_cell = None

    def poll(self):
        try:
            with open(self.path, "rb") as handle:
                handle.seek(self.offset)
                data = handle.read()
        except OSError:
            return
        end = data.rfind(b"\n") + 1
        self.offset += end
        for line in data[:end].decode("ascii", "replace").splitlines():
            words = line.split()
            if len(words) >= 2 and words[0] == "report":
                report = bytes(int(w, 16) for w in words[2:])
                if words[1] == "1":
                    self._take(report)
                else:
                    self.refused += 1

    def end_of_process(self):
        self._expect = None

    def _take(self, report):
        if len(report) != 8:
            self.faults.append("a report of %d bytes" % len(report))
            return
        kind = report[0]
        if kind == 0x0A:
            self._command(report)
        elif kind in (0x0B, 0x0C):
            self._packet(report)
        else:
            self.faults.append("report ID %02x" % kind)

    def _command(self, report):
        if self._expect is not None:
            self.faults.append("command %02x before the last packet of the %s" % (report[1], self._expect))
            self._expect = None
        command = report[1]
        if command == 0x03:
            self.writes += 1
        elif command == 0x04:
            self._expect, self._packets = "key map", []
        elif command == 0x05:
            self._expect, self._packets, self._macro_cell = "macro", [], (report[3] - 1) & 0xFF
        elif command == 0x0A:
            self.lighting = tuple(report[2:6])
        elif command == 0x0B:
            self.effect_color = report[4] | report[5] << 8 | report[6] << 16
        elif command == 0x0C:
            self.key_colors[report[3]] = report[4] | report[5] << 8 | report[6] << 16
        elif command == 0x0F:
            pass  # reset: the full write that follows sets everything again

    def _packet(self, report):
        wanted = {0x0B: "key map", 0x0C: "macro"}[report[0]]
        if self._expect != wanted:
            self.faults.append("a %s packet without its command" % wanted)
            return
        if report[1] != len(self._packets) + 1:
            self.faults.append("%s packet %d after %d" % (wanted, report[1], len(self._packets)))
        self._packets.append(report[2:8])
        count = 23 if wanted == "key map" else 41
        if len(self._packets) == count:
            block = b"".join(self._packets)
            if wanted == "key map":
                self.key_map = block[:120]
            else:
                self.macros[self._macro_cell] = block
            self._expect = None


def macro_block_events(block):
    """(repeat, [(press, code, delay)]) of a 246-byte macro block."""
    repeat = block[0] << 8 | block[1]
    events = []
    for k in range(80):
        high, low, code = block[2 + 3 * k:5 + 3 * k]
        if (high, low, code) == (0, 0, 0):
            break
        events.append((bool(high & 0x80), code, (high & 0x7F) << 8 | low))
    return repeat, events
