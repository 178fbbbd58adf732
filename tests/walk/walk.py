#!/usr/bin/python3
"""A seeded random walk through the whole program, checked after every step.

The walker starts KorvaneWalk.exe (the real program with the keyboard double behind its
HID seam) under Wine on a virtual display of its own, beside Wine's notepad, and takes
steps at random among what a user could do at that moment (walk_actions.py), with real
mouse and keyboard input. It keeps its own model of what the user did (walk_model.py)
and after every step checks the invariants below against the windows on the screen, the
data files and the report log of the keyboard double, each read with its own reader
(walk_files.py):
  - the program runs and Wine shows no program error dialog; the windows shown are those
    the model expects (main window, key dialog, the question the model expects and no
    other; nothing but the progress window while the main window is hidden);
  - the main window shows the model's current profile selected, marks exactly the
    profiles with unapplied edits and shows the lighting panel exactly while the model
    does; the key dialog shows the model's page, and records exactly while the model
    records (read from the screen's pixels);
  - after every write the keyboard double holds the model's applied profile: key map,
    lighting, the single colour or the key colours, and macros with every delay the
    walker knows; its reports form complete sequences;
  - after every apply, reset, quit, new or deleted macro the profile, settings and macro
    files equal the model's saved state and the macro library holds the model's names;
    an exported file equals the profile as last applied; no .tmp file is left after a quit;
  - the diagnostic log gains no line that tells of an error.
Not checked: whether the global hook is installed only while the key dialog captures or
records. The program does not log its hook's install and removal, and nothing outside
the process can see a low-level hook.

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

from walk_actions import ACTIONS  # noqa: E402
from walk_walker import ROOT, Failure, Walker  # noqa: E402


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
                walker.name_a_crash()
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
                        help="invariants to switch off, comma-separated: lighting, keymap, macros, files, questions, "
                             "windows, screen, log")
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "walk", "run"))
    parser.add_argument("--app", default=os.path.join(ROOT, "build", "walk", "app"))
    options = parser.parse_args()
    if options.steps is None and options.minutes is None:
        options.steps = 200

    walker = Walker(options.work, options.app)
    walker.without = set(filter(None, options.without.split(",")))
    # Ended from outside (a time-out), the walk still takes its display and Wine down.
    def end_walk(*_):
        signal.signal(signal.SIGTERM, signal.SIG_IGN)  # a second signal must not cut the clean-up short
        sys.exit(2)
    signal.signal(signal.SIGTERM, end_walk)
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
