"""The invariants checked after every step of the walk, as a part of the walker: the
windows shown, what they show, the keyboard double after each write, and the files after
each apply, reset, language change and quit. Each failure names what differs."""
import os
import time

from walk_files import EFFECT_PER_KEY, EFFECT_SINGLE_COLOR, slot_cell, library_names, macro_block_events, read_macro, read_profile, read_settings
from walk_model import (ALLOWED, PAGE_MACRO, REQUIRED, compare_profile, describe_lighting, events_match,
                        expected_key_map, expected_lighting)
from walk_program import KEY_DIALOG_SIZE, WARNING_SIZE
from walk_screen import has_light, is_red


# What the program's log lines say when something went wrong ("Save failed: <path>",
# "Launch failed: ...", "STEP CreateDlg failed (attempt n of m)", "... ended without a close").
LOG_ERROR_WORDS = ("fail", "error", "without a close")


class Invariants:
    """Checks of the walker (see walk_walker.Walker), each reporting through self.fail."""

    def check_keyboard(self):
        kb, want = self.keyboard, self.model.keyboard
        profile = want["profile"]
        label = "the keyboard after the write of Profile %d" % (want["index"] + 1)
        key_map = expected_key_map(profile)
        if kb.key_map != key_map:
            cells = [c for c in range(120) if kb.key_map is None or kb.key_map[c] != key_map[c]]
            self.fail("%s: key map differs in cells %s" % (label, cells[:12]), "keymap")
        lighting = expected_lighting(profile.lighting)
        if kb.lighting != lighting:
            self.fail("%s: the keyboard holds the lighting %s, the applied profile has %s" %
                      (label, describe_lighting(kb.lighting), describe_lighting(lighting)), "lighting")
        self.check_keyboard_colors(label, profile)
        for cell, events in want["macros"].items():
            if events is None:
                continue
            block = kb.macros.get(cell)
            held = None if block is None else macro_block_events(block)[1]
            if not events_match(events, held):
                self.fail("%s: the macro of cell %d holds %s, expected %s" % (label, cell, held, events), "macros")

    def check_keyboard_colors(self, label, profile):
        """The single-colour effect sends its colour; the per-key effect every key's."""
        kb, effect = self.keyboard, profile.lighting["effect"]
        if effect == EFFECT_SINGLE_COLOR and kb.effect_color != profile.lighting["color"]:
            self.fail("%s: the keyboard holds the effect colour %s, the applied profile has %#08x" %
                      (label, kb.effect_color if kb.effect_color is None else "%#08x" % kb.effect_color,
                       profile.lighting["color"]), "lighting")
        if effect == EFFECT_PER_KEY:
            wrong = [index for index, slot in enumerate(profile.slots)
                     if slot_cell(index) and kb.key_colors.get(slot_cell(index)) != slot.color]
            if wrong:
                self.fail("%s: the keyboard holds other key colours than the applied profile for slots %s" %
                          (label, wrong[:12]), "lighting")

    def check_files(self):
        m, folder = self.model, self.program.data_folder()
        problems = []
        for index in range(3):
            problems += compare_profile("Profile %d" % (index + 1), m.saved[index],
                                        read_profile(self.profile_path(index)))
        settings = read_settings(os.path.join(folder, "config.xml"))
        if settings is None or settings["profile"] != m.saved_current:
            problems.append("config.xml names profile %s, expected %d" %
                            (settings and settings["profile"], m.saved_current))
        elif settings["language"] != m.language:
            problems.append("config.xml names language %s, expected %s" % (settings["language"], m.language))
        problems += self.macro_file_problems()
        for problem in problems[:6]:
            self.fail("files: " + problem, "files")

    def macro_file_problems(self):
        """The macro library on disk against the model's: the same names, each file with
        the model's saved events."""
        m, folder = self.model, self.program.data_folder()
        problems = []
        on_disk = library_names(folder)
        if sorted(on_disk) != m.library():
            problems.append("the macro library holds %s, expected %s" % (sorted(on_disk), m.library()))
        for name, events in m.macros.items():
            if events is None:
                continue
            read = read_macro(os.path.join(folder, "Macros", name + ".macro"))
            if read is None or not events_match(events, read["events"]):
                problems.append("macro %r: the file holds %s, expected %s" %
                                (name, read and read["events"], events))
        return problems

    def check_macro_files(self):
        for problem in self.macro_file_problems()[:6]:
            self.fail("files: " + problem, "files")

    def window_problems(self, windows):
        """What the windows shown differ in from the model, as text; [] when they agree."""
        m, p = self.model, self.program
        main = p.main_window(windows)
        dialog = p.window_of_size(KEY_DIALOG_SIZE, windows)
        warning = p.window_of_size(WARNING_SIZE, windows)
        problems = []
        if (main is not None) != m.main_visible:
            problems.append("the main window is %s, expected %s" %
                            (_shown(main), "shown" if m.main_visible else "hidden"))
        if m.main_visible and (dialog is not None) != m.dialog.open:
            problems.append("the key dialog is %s, expected %s" %
                            (_shown(dialog), "shown" if m.dialog.open else "hidden"))
        if m.question is None and warning is not None:
            problems.append("a question is shown that the model does not expect")
        if m.question is not None and m.question[1] == REQUIRED and warning is None:
            problems.append("no question was asked (%s): the edits are dropped without a word" % m.question[0])
        if not m.main_visible:
            others = [w for w in windows if w[5] != "Loading" and w[3] * w[4] > 20000]
            if others:
                problems.append("windows shown while the main window is hidden: %s" %
                                [(w[3], w[4], w[5]) for w in others])
        return problems

    def check_windows(self):
        m, p = self.model, self.program
        if not m.running:
            return
        if not p.running():
            self.fail("the program ended by itself (crash; a backtrace may be in %s)" % p.errors)
            return
        if p.crash_dialog():
            self.fail("the program crashed: Wine shows its program error dialog")
            return
        # A window takes its time to show or go: the check waits a little for agreement.
        observed = {}

        def agree():
            observed["windows"] = p.windows()
            return not self.window_problems(observed["windows"])
        if m.question is not None and m.question[1] == ALLOWED:
            time.sleep(1.0)  # a question that may come is given its time
        p.wait_for(agree, 3.0, 0.15)
        windows = observed["windows"]
        warning = p.window_of_size(WARNING_SIZE, windows)
        if m.question is not None and warning is None:
            name, need, on_ok, _ = m.question
            m.question = None
            if need == REQUIRED:
                self.fail("no question was asked (%s): the edits are dropped without a word" % name, "questions")
            else:
                on_ok()
        for problem in self.window_problems(windows):
            self.fail(problem, "questions" if "question" in problem else "windows")

    def check_screen(self):
        m, p = self.model, self.program
        if not (m.running and m.main_visible) or m.question is not None or self.failures:
            return
        p.park_mouse()
        observed = {}

        def agree():
            observed["problems"] = self.screen_problems()
            return not observed["problems"]
        p.wait_for(agree, 3.0, 0.15)
        for problem in observed["problems"]:
            self.fail(problem, "screen")

    def screen_problems(self):
        """What the main window and the key dialog show, against the model: the current
        profile, the marks of unapplied profiles, the dialog's page and whether it records."""
        m, p = self.model, self.program
        problems = []
        origin = p.main_origin()
        if origin is None:
            return problems
        layout, screen = p.layout, p.screen
        d = m.dialog
        if d.open:
            # Behind its modal dialog the main window is disabled: its buttons show their
            # disabled look, neither selected nor marked.
            return self.dialog_problems()
        selected = []
        for index in range(3):
            x, y, w, h = layout[("MAIN", "BUTTON_PROFILE_%d" % (index + 1))]
            if is_red(screen.pixel(origin[0] + x + 10, origin[1] + y + h // 2)):
                selected.append(index)
            marked = has_light(screen.area(origin[0] + x + w - 26, origin[1] + y + h // 2 - 7, 14, 14))
            unapplied = m.profiles[index] != m.saved[index]
            if marked != unapplied:
                problems.append("Profile %d is %s as unapplied, but it %s" %
                                (index + 1, "marked" if marked else "not marked",
                                 "has edits not applied" if unapplied else "is as applied"))
        if selected != [m.current]:
            problems.append("the main window shows %s selected, expected Profile %d" %
                            (["Profile %d" % (i + 1) for i in selected], m.current + 1))
        if self.lighting_panel_shown() != m.lighting_visible:
            problems.append("the lighting panel is %s, expected %s" %
                            ("hidden" if m.lighting_visible else "shown",
                             "shown" if m.lighting_visible else "hidden"))
        return problems

    def dialog_problems(self):
        """What the key dialog shows against the model: its page and whether it records."""
        m, p = self.model, self.program
        layout, screen = p.layout, p.screen
        d = m.dialog
        problems = []
        dialog = self.dialog_origin()
        if not d.macro_only:
            pages = [i for i, key in enumerate(("BUTTON_SINGLEKEY", "BUTTON_MACRO", "BUTTON_LAUNCH"))
                     if is_red(screen.pixel(dialog[0] + layout[("KEY_ASSIGNMENT", key)][0] + 10,
                                            dialog[1] + layout[("KEY_ASSIGNMENT", key)][1] + 20))]
            if pages != [d.page]:
                problems.append("the key dialog shows page %s, expected page %d" % (pages, d.page))
        if d.page == PAGE_MACRO:
            x, y, w, h = layout[("MACRO", "BUTTON_RECORD")]
            recording = is_red(screen.pixel(dialog[0] + x + 10, dialog[1] + y + h // 2))
            if recording != d.recording:
                problems.append("the key dialog %s, expected %s" %
                                ("records" if recording else "does not record",
                                 "a recording" if d.recording else "none"))
        return problems

    def check_log(self):
        """No line of the diagnostic log tells of a failure: the walker asks for nothing
        that may fail (no program is started, every file it names can be written)."""
        for line in self.log.new_lines():
            if any(word in line.lower() for word in LOG_ERROR_WORDS):
                self.fail("the diagnostic log tells of an error: %s" % line.strip(), "log")

    def check_after_step(self):
        self.check_log()
        self.check_windows()
        self.check_screen()
        self.keyboard.poll()
        if self.keyboard.faults:
            self.fail("keyboard double: " + "; ".join(self.keyboard.faults))
            self.keyboard.faults = []
        self.name_a_crash()

    def name_a_crash(self):
        """A failure seen while the process was going down is a crash: said first, so that
        the walk and its shrinking tell of the crash and not of the windows it took away."""
        p = self.program
        crash = "the program ended by itself (crash; a backtrace may be in %s)" % p.errors
        if not self.failures or not self.model.running or crash in self.failures:
            return
        if p.wait_for(lambda: not p.running(), 3, 0.2):
            self.failures.insert(0, crash)

    # -- walking ----------------------------------------------------------------------


def _shown(window):
    return "hidden" if window is None else "shown"
