"""The walker: a session of the program under Wine, the model of what the user did,
and the help the actions need (where to click, waiting for a write or a restart)."""
import json
import os
import time

from walk_actions import ACTIONS_BY_NAME, NEUTRAL_MAIN, clickable_slots
from walk_checks import Invariants
from walk_files import DiagnosticLog, KeyboardDouble, read_profile, read_settings, temporary_files
from walk_model import Model, Profile
from walk_program import KEY_DIALOG_OFFSET, KEY_DIALOG_SIZE, MAIN_SIZE, Program
from walk_screen import has_light, is_red

TRAY_MENU_LAST_ROW_FROM_BOTTOM = 10
FILE_DIALOG_MIN_HEIGHT = 200  # the open and save dialogs; menus and questions are lower
IMPORT_REVIEW_WIDTH = 640
IMPORT_REVIEW_GAP = 16  # between the review's buttons
IMPORT_REVIEW_FROM_BOTTOM = 56  # the top of the review's buttons, above its bottom edge
EVENT_LIST_TOP = 0  # the event list's first row, below the top of its layout rectangle
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


class Failure(Exception):
    pass


class Walker(Invariants):
    def __init__(self, work, app_folder):
        self.program = Program(ROOT, work, app_folder)
        self.slots = clickable_slots(self.program.layout)
        self.model = None
        self.keyboard = None
        self.failures = []
        self.step_number = 0
        self.without = set()  # invariants switched off, to look past a known fault

    # -- sessions ---------------------------------------------------------------------

    def begin(self):
        """A first start of the program on a fresh data folder, with notepad beside it."""
        p = self.program
        p.kill_program()
        p.fresh_start_files()
        self.keyboard = KeyboardDouble(p.reports)
        self.log = DiagnosticLog(p.data_folder())
        if not p.start_program():
            raise Failure("the program did not show its main window at its first start")
        if p.notepad is None or p.notepad.poll() is not None:
            p.start_notepad()
        folder = p.data_folder()
        profiles = [read_profile(self.profile_path(i)) for i in range(3)]
        if any(profile is None for profile in profiles):
            raise Failure("the first start left no readable profile files in %s" % folder)
        self.model = Model([Profile(profile) for profile in profiles])
        settings = read_settings(os.path.join(folder, "config.xml"))
        self.model.language = settings and settings["language"]
        time.sleep(1.0)
        self.activate_main()
        self.keyboard.poll()

    def profile_path(self, index):
        return os.path.join(self.program.data_folder(), "Profiles", "Profile %d.profile" % (index + 1))

    # -- helpers for the actions ------------------------------------------------------

    def fail(self, text, invariant="program"):
        if invariant not in self.without:
            self.failures.append(text)

    def main_origin(self):
        origin = self.program.main_origin()
        if origin is None:
            raise Failure("the main window is not shown")
        return origin

    def click_main(self, section, key, settle=0.35):
        self.note_recorded_click()
        self.program.click_control(self.main_origin(), self.program.layout[(section, key)], settle)

    def note_recorded_click(self):
        """A click while the dialog records is a recorded event (all but the record button's)."""
        if self.model.dialog.recording:
            self.model.dialog.lose_track()

    def dialog_origin(self):
        x, y = self.main_origin()
        return x + KEY_DIALOG_OFFSET[0], y + KEY_DIALOG_OFFSET[1]

    def click_dialog(self, section, key, settle=0.35):
        if (section, key) != ("MACRO", "BUTTON_RECORD"):
            self.note_recorded_click()
        self.program.click_control(self.dialog_origin(), self.program.layout[(section, key)], settle)

    def click_event_row(self, row):
        x, y, w, h = self.program.layout[("MACRO", "MACRO_DISPLAY")]
        origin = self.dialog_origin()
        self.program.click_at(origin[0] + x + 60, origin[1] + y + EVENT_LIST_TOP + 15 * row + 7)

    def lighting_panel_shown(self):
        """Whether the lighting panel shows: its effect button's caption is light."""
        x, y, w, h = self.program.layout[("LIGHTING", "BUTTON_MENU")]
        origin = self.main_origin()
        return has_light(self.program.screen.area(origin[0] + x + 10, origin[1] + y + 10, w // 2, h - 20))

    def exit_from_tray(self):
        """A right click on the tray icon and a click on its menu's last row, Exit."""
        p = self.program
        icon = p.tray_icon()
        if icon is None:
            self.fail("no tray icon while the keyboard is plugged in")
            return False
        before = {window[0] for window in p.windows()}
        p.xdotool("mousemove", *icon)
        time.sleep(0.08)
        p.xdotool("click", 3)

        def menus():
            return [window for window in p.windows() if window[0] not in before and window[4] < 200]
        if not p.wait_for(lambda: bool(menus()), 3, 0.1):
            self.fail("the tray menu did not open")
            return False
        menu = menus()[0]
        p.click_at(menu[1] + menu[3] // 2, menu[2] + menu[4] - TRAY_MENU_LAST_ROW_FROM_BOTTOM, settle=0.5)
        return True

    def pick_settings_row(self, row):
        """Opens the settings menu and clicks its row; False (and a failure) without a menu."""
        before = {window[0] for window in self.program.windows()}
        self.click_main("MAIN", "BUTTON_SETTING", settle=0.3)

        def new_menus():
            return [window for window in self.program.windows() if window[0] not in before and window[4] >= 90]
        self.program.wait_for(lambda: bool(new_menus()), 3)
        menus = new_menus()
        if not menus:
            self.fail("the settings menu did not open")
            return False
        menu = menus[0]
        self.program.click_at(menu[1] + 60, menu[2] + 9 + 18 * row)
        return True

    def answer_file_dialog(self, path):
        """Types the file's path into the open or save dialog that the step opened, and
        Enter; True once the dialog is gone."""
        p = self.program

        def dialog():
            return [window for window in p.windows() if window[4] >= FILE_DIALOG_MIN_HEIGHT and
                    (window[3], window[4]) not in (MAIN_SIZE, KEY_DIALOG_SIZE) and window[3] != IMPORT_REVIEW_WIDTH]
        if not p.wait_for(lambda: bool(dialog()), 10, 0.15):
            self.fail("no file dialog opened")
            return False
        time.sleep(0.3)
        p.type_keys(p.windows_path(path))
        p.press("Return")
        if not p.wait_for(lambda: not dialog(), 10, 0.15):
            self.fail("the file dialog did not close after a path and Enter")
            return False
        return True

    def answer_import_review(self, button, buttons):
        """Clicks a button of the import review, found by its place among `buttons` (the
        layout's names, left to right, centred with a gap between them at the bottom)."""
        p = self.program
        found = {}

        def review():
            found["window"] = next((w for w in p.windows() if w[3] == IMPORT_REVIEW_WIDTH), None)
            return found["window"] is not None
        if not p.wait_for(review, 5, 0.15):
            self.fail("the import lists keys for review, but no review was shown")
            return False
        window = found["window"]
        widths = [p.layout[("IMPORT_REVIEW", name)][2] for name in buttons]
        left = (window[3] - sum(widths) - IMPORT_REVIEW_GAP * (len(buttons) - 1)) // 2
        index = buttons.index(button)
        x = left + sum(widths[:index]) + IMPORT_REVIEW_GAP * index + widths[index] // 2
        y = window[4] - IMPORT_REVIEW_FROM_BOTTOM + p.layout[("IMPORT_REVIEW", button)][3] // 2
        p.click_at(window[1] + x, window[2] + y, settle=0.5)
        if not p.wait_for(lambda: not review(), 5, 0.15):
            self.fail("the import review stayed open after %s" % button)
            return False
        return True

    def click_dialog_at(self, x, y):
        self.note_recorded_click()
        origin = self.dialog_origin()
        self.program.click_at(origin[0] + x, origin[1] + y)

    def read_recording_state(self):
        """Takes whether the key dialog records from its record button, where the rules leave
        it open; a question's window may still be closing, so the button is given a moment."""
        d = self.model.dialog
        if not d.recording:
            return
        x, y, w, h = self.program.layout[("MACRO", "BUTTON_RECORD")]
        origin = self.dialog_origin()
        time.sleep(0.4)
        if not is_red(self.program.screen.pixel(origin[0] + x + 10, origin[1] + y + h // 2)):
            d.recording = False
            d.run_ended()

    def activate_main(self):
        origin = self.main_origin()
        self.program.click_at(origin[0] + NEUTRAL_MAIN[0], origin[1] + NEUTRAL_MAIN[1])

    def expect_write(self, check_files):
        """A write was asked for: wait until it ends, then check the keyboard and the files."""
        m, kb = self.model, self.keyboard
        if m.plugged:
            before = kb.writes
            self.program.wait_for(lambda: (kb.poll(), kb.writes > before)[1], 40, 0.1)
            if kb.writes <= before:
                self.fail("the write asked for did not end within 40 s")
                return
            m.written()
            self.check_keyboard()
        else:
            # Nothing is written and no progress window shows: the write waits for the
            # keyboard.
            m.write_waiting = True
            time.sleep(0.6)
        # The progress window closes a moment after the last report.
        self.program.wait_for(lambda: not any(w[5] == "Loading" for w in self.program.windows()), 20, 0.2)
        if check_files:
            self.check_files()

    def expect_quit_and_restart(self):
        p, m = self.program, self.model
        if not p.wait_for_exit(20):
            self.fail("the program did not end when asked to quit")
            return
        # What the keyboard was sent up to the end counts; a write cut short by the end
        # leaves no half sequence for the next start.
        self.keyboard.poll()
        self.keyboard.end_of_process()
        self.check_files()
        left = temporary_files(p.data_folder())
        if left:
            self.fail("temporary files left after the quit: %s" % ", ".join(left))
        if not p.start_program():
            self.fail("the program did not show its main window when started again")
            return
        m.restart()
        time.sleep(0.8)
        self.activate_main()

    def take(self, step):
        """Takes one step if it can be taken now; returns whether it was."""
        action = ACTIONS_BY_NAME[step["action"]]
        if not action.enabled(self):
            return False
        self.model.steps_since_start.append(step)
        with open(self.program.reports, "a") as log:  # so the report log reads with the walk
            log.write("# step %d: %s %s\n" % (self.step_number, step["action"], json.dumps(step.get("args", {}))))
        action.perform(self, step.get("args", {}))
        self.check_after_step()
        return True
