#!/usr/bin/python3
"""A seeded random walk through the whole program, checked after every step.

The walker starts KorvaneWalk.exe (the real program with the keyboard double behind its
HID seam) under Wine on a virtual display of its own, beside Wine's notepad, and takes
steps at random among what a user could do at that moment (walk_actions.py), with real
mouse and keyboard input. It keeps its own model of what the user did (walk_model.py)
and after every step checks the invariants below against the windows on the screen, the
data files and the report log of the keyboard double, each read with its own reader
(walk_files.py):
  - the program runs; the windows shown are those the model expects (main window, key
    dialog, the question the model expects and no other; nothing but the progress window
    while the main window is hidden);
  - the main window shows the model's current profile selected and marks exactly the
    profiles with unapplied edits; the key dialog shows the model's page, and records
    exactly while the model records (read from the screen's pixels);
  - after every write the keyboard double holds the model's applied profile: key map,
    lighting and macros; its reports form complete sequences;
  - after every apply, reset and quit the profile, settings and macro files equal the
    model's saved state; no .tmp file is left after a quit.

The seed decides the walk; a failure prints the seed, the step and the steps since the
program's last start, and saves the walk so that --replay repeats it; --shrink drops
steps while the failure persists and prints the short walk that is left.

  walk.py --seed 7 --steps 5000          a long walk
  walk.py --seed 7 --minutes 2           a walk of about two minutes
  walk.py --replay build/walk/run/failed-7.json [--shrink]
  walk.py --replay tests/walk/walks/page-switch-drops-recording.json
"""
import argparse
import json
import os
import random
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from walk_actions import ACTIONS, ACTIONS_BY_NAME, NEUTRAL_MAIN, clickable_slots  # noqa: E402
from walk_files import (KeyboardDouble, macro_block_events, read_macro, read_profile, read_settings,  # noqa: E402
                        temporary_files)
from walk_model import (ALLOWED, PAGE_MACRO, REQUIRED, Model, Profile, compare_profile,  # noqa: E402
                        describe_lighting, expected_key_map, expected_lighting)
from walk_program import KEY_DIALOG_OFFSET, KEY_DIALOG_SIZE, WARNING_SIZE, Program  # noqa: E402
from walk_screen import has_light, is_red  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


class Failure(Exception):
    pass


class Walker:
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
        self.program.click_control(self.main_origin(), self.program.layout[(section, key)], settle)

    def dialog_origin(self):
        x, y = self.main_origin()
        return x + KEY_DIALOG_OFFSET[0], y + KEY_DIALOG_OFFSET[1]

    def click_dialog(self, section, key, settle=0.35):
        self.program.click_control(self.dialog_origin(), self.program.layout[(section, key)], settle)

    def click_dialog_at(self, x, y):
        origin = self.dialog_origin()
        self.program.click_at(origin[0] + x, origin[1] + y)

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
            time.sleep(0.6)
        # The progress window closes a moment after the last report.
        self.program.wait_for(lambda: not any(w[5] == "Loading" for w in self.program.windows()), 20, 0.2)
        if check_files:
            self.check_files()

    def expect_quit_and_restart(self):
        p, m = self.program, self.model
        if not p.wait_for_exit(20):
            self.fail("the program did not end after Alt+F4")
            return
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

    # -- invariants -------------------------------------------------------------------

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
        for cell, events in want["macros"].items():
            if events is None:
                continue
            block = kb.macros.get(cell)
            held = None if block is None else macro_block_events(block)[1]
            if held != events:
                self.fail("%s: the macro of cell %d holds %s, expected %s" % (label, cell, held, events), "macros")

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
        for name, events in m.macros.items():
            if events is None:
                continue
            read = read_macro(os.path.join(folder, "Macros", name + ".macro"))
            if read is None or read["events"] != events:
                problems.append("macro %r: the file holds %s, expected %s" %
                                (name, read and read["events"], events))
        for problem in problems[:6]:
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
            self.fail("the program ended by itself (crash)")
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
        p.wait_for(agree, 1.5, 0.15)
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
        d = m.dialog
        if not d.open:
            return problems
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

    def check_after_step(self):
        self.check_windows()
        self.check_screen()
        self.keyboard.poll()
        if self.keyboard.faults:
            self.fail("keyboard double: " + "; ".join(self.keyboard.faults))
            self.keyboard.faults = []

    # -- walking ----------------------------------------------------------------------

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


def _shown(window):
    return "hidden" if window is None else "shown"


def choose_step(walker, rng):
    enabled = [a for a in ACTIONS if a.enabled(walker)]
    action = rng.choices(enabled, weights=[a.weigh(walker) for a in enabled])[0]
    return {"action": action.name, "args": action.choose(walker, rng)}


def run(walker, seed=None, steps=None, minutes=None, script=None, quiet=False, rng=None, first_index=0,
        deadline=None):
    """Runs a walk from a first start; returns (failure text or None, steps taken, last step number).
    `first_index` and `deadline` continue the numbering and the time of a longer walk."""
    rng = rng or random.Random(seed)
    taken = []
    walker.failures = []
    deadline = deadline or (time.time() + minutes * 60 if minutes is not None else None)
    index = first_index
    try:
        walker.begin()
        while True:
            if script is not None:
                if index - first_index >= len(script):
                    break
                step = script[index - first_index]
            else:
                if (steps is not None and index >= steps) or (deadline is not None and time.time() > deadline):
                    break
                step = choose_step(walker, rng)
            index += 1
            walker.step_number = index
            try:
                if walker.take(step):
                    taken.append(step)
                    if not quiet:
                        print("step %d: %s %s" % (index, step["action"], json.dumps(step.get("args", {}))),
                              flush=True)
            except Failure as failure:
                taken.append(step)
                walker.failures.append(str(failure))
            if walker.failures:
                walker.program.screenshot(os.path.join(walker.program.work, "failed-step-%d.png" % index))
                return walker.failures, taken, index
    except Failure as failure:
        return [str(failure)], taken, walker.step_number
    walker.program.screenshot(os.path.join(walker.program.work, "end.png"))
    return None, taken, index


def keep_walking(walker, seed, steps, minutes, work):
    """A long walk that notes each failure and goes on from a new first start; returns the
    failures found as (step number, text)."""
    rng = random.Random(seed)
    deadline = time.time() + minutes * 60 if minutes is not None else None
    found, index, total = [], 0, 0
    while (steps is None or index < steps) and (deadline is None or time.time() < deadline):
        failure, taken, index = run(walker, steps=steps, rng=rng, first_index=index, deadline=deadline)
        total += len(taken)
        if failure is None:
            break
        report("%s-%d" % (seed, index), failure, taken, index, walker.model, work)
        found.append((index, failure))
    return found, total


def same_failure(first, second):
    """Two failures are the same when their first lines start alike (the invariant's words)."""
    return second is not None and first[0].split(":")[0] == second[0].split(":")[0]


def shrink(walker, steps, failure, budget_seconds):
    """Drops chunks of steps while the walk still fails the same way (delta debugging)."""
    end = time.time() + budget_seconds
    chunk = max(1, len(steps) // 2)
    while chunk >= 1 and time.time() < end:
        index, reduced = 0, False
        while index < len(steps) and time.time() < end:
            candidate = steps[:index] + steps[index + chunk:]
            result, taken, _ = run(walker, script=candidate, quiet=True)
            if result is not None and same_failure(failure, result):
                steps, reduced = taken, True
                print("shrink: %d steps still fail" % len(steps), flush=True)
            else:
                index += chunk
        if not reduced:
            chunk //= 2
    return steps


def report(seed, failure, taken, index, model, work):
    print("\nWALK FAILED (seed %s) at step %d:" % (seed, index))
    for line in failure:
        print("  " + line)
    if model is not None:
        since = model.steps_since_start
        print("steps since the program's last start (%d):" % len(since))
        for step in since:
            print("  %s %s" % (step["action"], json.dumps(step.get("args", {}))))
    path = os.path.join(work, "failed-%s.json" % seed)
    with open(path, "w") as out:
        json.dump({"seed": seed, "failure": failure, "steps": taken}, out, indent=1)
    print("the whole walk is saved in %s: repeat it with --replay %s" % (path, path))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--steps", type=int)
    parser.add_argument("--minutes", type=float)
    parser.add_argument("--replay", help="a walk saved by a failure")
    parser.add_argument("--shrink", action="store_true", help="shorten a failing walk")
    parser.add_argument("--keep-going", action="store_true",
                        help="after a failure, start afresh and walk on; list every failure at the end")
    parser.add_argument("--shrink-minutes", type=float, default=30)
    parser.add_argument("--without", default="",
                        help="invariants to switch off, comma-separated: lighting, keymap, macros, files, questions")
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "walk", "run"))
    parser.add_argument("--app", default=os.path.join(ROOT, "build", "walk", "app"))
    options = parser.parse_args()
    if options.steps is None and options.minutes is None:
        options.steps = 200

    walker = Walker(options.work, options.app)
    walker.without = set(filter(None, options.without.split(",")))
    # Ended from outside (a time-out), the walk still takes its display and Wine down.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))
    try:
        walker.program.start_machine()
        script, seed = None, options.seed
        if options.replay:
            with open(options.replay) as handle:
                saved = json.load(handle)
            script, seed = saved["steps"], saved.get("seed")
        started = time.time()
        if options.keep_going and not options.replay:
            found, total = keep_walking(walker, seed, options.steps, options.minutes, options.work)
            minutes = (time.time() - started) / 60
            print("\nwalk: seed %s, %d steps in %.1f min (%.0f steps per minute), %d failures" %
                  (seed, total, minutes, total / max(minutes, 1e-6), len(found)))
            for index, failure in found:
                print("  step %d: %s" % (index, failure[0]))
            return 1 if found else 0
        failure, taken, index = run(walker, seed=seed, steps=options.steps, minutes=options.minutes, script=script)
        minutes = (time.time() - started) / 60
        print("walk: seed %s, %d steps in %.1f min (%.0f steps per minute)" %
              (seed, len(taken), minutes, len(taken) / max(minutes, 1e-6)))
        if failure is None:
            print("walk: passed")
            return 0
        report(seed, failure, taken, index, walker.model, options.work)
        if options.shrink:
            short = shrink(walker, taken, failure, options.shrink_minutes * 60)
            print("\nshort walk (%d steps) that fails the same way:" % len(short))
            for step in short:
                print("  %s %s" % (step["action"], json.dumps(step.get("args", {}))))
            path = os.path.join(options.work, "shrunk-%s.json" % seed)
            with open(path, "w") as out:
                json.dump({"seed": seed, "failure": failure, "steps": short}, out, indent=1)
            print("saved in %s" % path)
        return 1
    finally:
        walker.program.kill_program()
        walker.program.stop_machine()


if __name__ == "__main__":
    sys.exit(main())
