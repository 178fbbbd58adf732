"""What the user has done, kept by the walker: the model the invariants compare with.

The model never asks the program: it starts from the factory files of a first start
(read by the walker's own reader) and follows each step as the user meant it.
Unknown means the walker cannot know (a click recorded into a macro, say); a check
that depends on an unknown part is skipped, never guessed.
"""
import copy

from walk_files import (BTNFUNC_KEY, BTNFUNC_LAUNCH, BTNFUNC_MACRO, DEFAULT_KEY_MAP,
                        EFFECTS_WITH_COLOR_MODE, SLOT_COUNT, slot_cell)

PAGE_KEY, PAGE_MACRO, PAGE_LAUNCH = 0, 1, 2
FIRST_MACRO = "Macro 1"
MACRO_LIMIT = 80
UNDO_STEPS = 32
INSERTED_KEY_DELAY = 20  # ms before the press and before the release of a key inserted by hand
DELAY_MAX = 0x7FFF


class UnknownDelay:
    """The delay of a recorded event: the walker cannot know it, but the event carries the
    same one wherever it moves, so two events share it only when they are the same event."""

    def __repr__(self):
        return "?"


def recorded(press, code):
    return (press, code, UnknownDelay())


def same_events(first, second):
    """True, False, or None when the walker cannot tell: events are (press, code, delay)
    and a delay the walker cannot know may or may not equal a known one."""
    if first is None or second is None:
        return None
    if len(first) != len(second):
        return False
    unsure = False
    for a, b in zip(first, second):
        if a[:2] != b[:2]:
            return False
        if a[2] is not b[2] and a[2] != b[2]:
            if isinstance(a[2], UnknownDelay) or isinstance(b[2], UnknownDelay):
                unsure = True
            else:
                return False
    return None if unsure else True


def events_match(expected, held):
    """Whether events read back (every delay known) are the model's, a delay the model
    cannot know matching any."""
    if expected is None:
        return True
    if held is None or len(expected) != len(held):
        return False
    return all(e[:2] == h[:2] and (isinstance(e[2], UnknownDelay) or e[2] == h[2]) for e, h in zip(expected, held))


def partner_of(events, row):
    """The row that belongs with `row` as its press or release (the innermost press of a
    key code pairs with its next release), or None."""
    waiting = {}
    for index, (press, code, _) in enumerate(events):
        if press:
            waiting.setdefault(code, []).append(index)
        elif waiting.get(code):
            start = waiting[code].pop()
            if start == row:
                return index
            if index == row:
                return start
    return None

# Questions the program must ask (required), may ask (allowed) or must not.
REQUIRED, ALLOWED = "required", "allowed"


class Slot:
    __slots__ = ("function", "key", "macro", "color")

    def __init__(self, function, key, macro, color):
        self.function, self.key, self.macro, self.color = function, key, macro, color

    def copy(self):
        return Slot(self.function, self.key, self.macro, self.color)

    def __eq__(self, other):
        return (self.function, self.key, self.macro, self.color) == (other.function, other.key, other.macro,
                                                                      other.color)

    def __repr__(self):
        return "function %d key %#04x macro %r" % (self.function, self.key, self.macro)


class Profile:
    def __init__(self, read):
        self.slots = [Slot(*s) for s in read["slots"]]
        self.lighting = dict(read["lighting"])

    def copy(self):
        return copy.deepcopy(self)

    def __eq__(self, other):
        return self.slots == other.slots and self.lighting == other.lighting


class Dialog:
    """The key assignment dialog: one window for the program's life, shown and hidden."""

    def __init__(self):
        self.open = False
        self.macro_only = False
        self.slot = None  # the key slot edited, None in macro-only mode
        self.working = None
        self.page = PAGE_KEY
        self.recording = False
        self.buffer = []  # the macro's events as shown: [(press, code, delay)], None when unknown
        self.saved = []  # the loaded macro as saved
        self.loaded = None  # name of the loaded macro, None before the macro page was shown
        self.row = -1  # the selected row of the event list, -1 for none, None when unknown
        self.undo = []  # the buffers before each edit, latest last; None when unknown
        self.before_run = []  # the buffer as a recording run started

    def dirty(self):
        """True, False, or None when the walker cannot know whether edits are unsaved."""
        if self.loaded is None:
            return False
        same = same_events(self.buffer, self.saved)
        return None if same is None else not same

    def loaded_events(self, name, events):
        """A macro was loaded or created: its events as saved, a fresh undo history, no row."""
        self.loaded = name
        self.saved = copy.copy(events)
        self.buffer = copy.copy(events)
        self.before_run = copy.copy(events)
        self.row, self.undo = -1, []

    def edited(self, before):
        """An edit changed the buffer from `before`: the undo history takes it when the two differ."""
        if self.undo is None:
            return
        same = same_events(before, self.buffer)
        if same is None:
            self.undo = None
        elif not same:
            self.undo.append(copy.copy(before))
            del self.undo[:-UNDO_STEPS]

    def run_ended(self):
        """A recording run ended: it is one step of the undo history."""
        self.edited(self.before_run)
        self.before_run = copy.copy(self.buffer)
        self.row = None  # where the list's selection went while rows came is not the walker's to know

    def lose_track(self):
        """The buffer took what the walker cannot know (a recorded click)."""
        self.buffer = None
        self.row = None


class Model:
    def __init__(self, factory):
        self.factory = [p.copy() for p in factory]
        self.saved = [p.copy() for p in factory]
        self.saved_current = 0
        self.language = None  # as the first start wrote it
        self.macros = {}  # name -> saved events, None when unknown
        self.plugged = True
        self.keyboard = None  # what the keyboard holds after the last write: {'profile', 'macros'}
        self.restart()

    def restart(self):
        """A start of the program: everything in memory comes from the files."""
        self.running = True
        self.write_waiting = False  # an apply made without the keyboard waits for it
        self.profiles = [p.copy() for p in self.saved]
        self.current = self.saved_current
        self.main_visible = True
        self.lighting_visible = False
        self.dialog = Dialog()
        self.question = None  # (name, REQUIRED|ALLOWED, on_ok, on_cancel)
        self.other_in_front = False
        self.steps_since_start = []

    # -- the user's edits -------------------------------------------------------------

    def profile(self):
        return self.profiles[self.current]

    def unapplied(self):
        return self.current != self.saved_current or any(p != s for p, s in zip(self.profiles, self.saved))

    def load_macro_page(self):
        """The macro page is shown: the library is listed (a first macro made when there is
        none) and the slot's macro, or the first, is loaded."""
        d = self.dialog
        if not self.macros:
            self.macros[FIRST_MACRO] = []
        # In the macro editor alone the working slot is the one the last key's dialog left.
        wanted = d.working.macro if d.working is not None else None
        name = wanted if wanted in self.macros else self.library()[0]
        self.load_macro(name)

    def load_macro(self, name):
        d = self.dialog
        d.loaded_events(name, self.macros[name])
        if d.working is not None:
            d.working.function = BTNFUNC_MACRO
            d.working.macro = name

    def library(self):
        """The macro names as the program lists them: sorted by name, code unit by code unit."""
        return sorted(self.macros)

    def next_macro_name(self):
        number = 1
        while "Macro %d" % number in self.macros:
            number += 1
        return "Macro %d" % number

    def show_page(self, page):
        d = self.dialog
        if page != PAGE_MACRO:
            if d.recording:
                d.recording = False
                d.run_ended()
            if page == PAGE_KEY and d.working is not None and d.working.key != 0:
                d.working.function = BTNFUNC_KEY
            if d.page == PAGE_MACRO and d.dirty() is not False:
                d.lose_track()  # left behind: whatever it holds is no longer shown
        d.page = page
        if page == PAGE_MACRO:
            self.load_macro_page()

    def save_dialog_macro(self):
        d = self.dialog
        if d.loaded is None:
            return
        events = None if d.buffer is None else copy.copy(d.buffer)
        self.macros[d.loaded] = events
        d.saved = copy.copy(events)

    # -- what the keyboard must hold ----------------------------------------------------

    def written(self):
        """A write of the current saved profile completed: the keyboard holds it."""
        profile = self.saved[self.saved_current].copy()
        macros = {}
        for index, slot in enumerate(profile.slots):
            if slot.function == BTNFUNC_MACRO and slot_cell(index) != 0:
                name = slot.macro if slot.macro in self.macros else (self.library()[0] if self.macros else None)
                macros[slot_cell(index)] = self.macros.get(name) if name else None
        self.keyboard = {"profile": profile, "macros": macros, "index": self.saved_current}


def expected_key_map(profile):
    key_map = bytearray(DEFAULT_KEY_MAP)
    for index, slot in enumerate(profile.slots):
        cell = slot_cell(index)
        if slot.function == BTNFUNC_KEY:
            key_map[cell] = slot.key
        elif slot.function == BTNFUNC_LAUNCH:
            key_map[cell] = 0xFE
        elif slot.function == BTNFUNC_MACRO:
            key_map[cell] = 0xCD
        elif slot.function == 464:
            key_map[cell] = 0
    return bytes(key_map)


def expected_lighting(lighting):
    effect = lighting["effect"]
    mode = lighting["colortype"] if effect in EFFECTS_WITH_COLOR_MODE else 7
    return (effect, lighting["bright"], lighting["speed"], mode)


def describe_lighting(values):
    if values is None:
        return "none"
    return "effect %d brightness %d speed %d colour mode %d" % tuple(values)


def compare_profile(label, model_profile, read):
    """Differences between a profile as the model has it and as read from its file."""
    if read is None:
        return ["%s: the file is missing or unreadable" % label]
    problems = []
    for index in range(SLOT_COUNT):
        want = model_profile.slots[index]
        function, key, macro, color = read["slots"][index]
        if function != want.function or (want.function == BTNFUNC_KEY and key != want.key):
            problems.append("%s slot %d: the file holds function %d key %#04x, expected %s" %
                            (label, index, function, key, want))
        elif want.function == BTNFUNC_MACRO and want.macro is not None and macro != want.macro:
            problems.append("%s slot %d: the file names macro %r, expected %r" % (label, index, macro, want.macro))
        if color != want.color:
            problems.append("%s slot %d: the file holds the key colour %#08x, expected %#08x" %
                            (label, index, color, want.color))
    for key, value in model_profile.lighting.items():
        if read["lighting"].get(key) != value:
            problems.append("%s lighting %s: the file holds %r, expected %r" %
                            (label, key, read["lighting"].get(key), value))
    return problems
