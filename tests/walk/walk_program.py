"""The program under Wine, driven as a user drives it.

A private virtual display, a private Wine prefix, KorvaneWalk.exe (the real program with
the keyboard double behind its HID seam) and Wine's notepad as the other program. Input
is real X input through xdotool: mouse moves, clicks and typed keys. What the walker
sees: the program's visible windows (X windows of the program's class with their place
and size), the data folder, and the keyboard double's report log.
"""
import fcntl
import glob
import os
import shutil
import signal
import subprocess
import time
import xml.etree.ElementTree as ElementTree

from walk_screen import Screen

SCREEN = (1600, 1000)
NOTEPAD_PLACE = (1405, 40, 190, 150)  # beside the main window, never over it
PROGRAM_CLASS = "korvanewalk.exe"
KEY_DIALOG_SIZE = (900, 560)
WARNING_SIZE = (440, 240)
MAIN_SIZE = (1200, 672)
KEY_DIALOG_OFFSET = (270, 39)  # from the main window's top-left corner


def load_layout(app_folder):
    """Control rectangles of the shipped skin files: {(section, key): (x, y, w, h)}."""
    layout = {}
    for name in ("Buttons.xml", "KeyboardButtons.xml"):
        root = ElementTree.parse(os.path.join(app_folder, "Languages", name)).getroot()
        for section in root:
            for entry in section:
                fields = (entry.text or "").split(",")
                if len(fields) >= 5 and fields[1].strip().lstrip("-").isdigit():
                    rect = tuple(int(f) for f in fields[1:5])
                    layout[(section.tag, entry.tag)] = rect
                    if len(fields) >= 6:
                        layout[(section.tag, entry.tag, "text")] = fields[5]
    return layout


class Program:
    def __init__(self, root, work, app_folder):
        self.root = root
        self.work = os.path.abspath(work)
        self.app_folder = os.path.abspath(app_folder)
        self.exe = os.path.join(app_folder, "KorvaneWalk.exe")
        self.layout = load_layout(app_folder)
        self.prefix = os.path.join(self.work, "prefix")
        self.reports = os.path.join(self.work, "reports.log")
        self.errors = os.path.join(self.work, "program-errors.log")  # the program's error output: crash backtraces
        self.plug_file = os.path.join(self.work, "plug")
        self.env = dict(os.environ)
        self.xvfb = None
        self.process = None
        self.notepad = None
        self.plug_number = 0

    # -- the machine ---------------------------------------------------------------

    def start_machine(self):
        os.makedirs(self.work, exist_ok=True)
        self.lock = open(os.path.join(self.work, "lock"), "w")
        try:
            fcntl.flock(self.lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            raise RuntimeError("another walk uses %s; give this one another --work folder" % self.work)
        number_file = os.path.join(self.work, "display-number")
        with open(number_file, "w") as out:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(out.fileno()), "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                pass_fds=(out.fileno(),), start_new_session=True)
        for _ in range(100):
            with open(number_file) as handle:
                text = handle.read().strip()
            if text:
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("no virtual display")
        self.env.update(DISPLAY=":" + text.splitlines()[0], WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d",
                        KORVANE_WALK_REPORTS=self.windows_path(self.reports),
                        KORVANE_WALK_PLUG=self.windows_path(self.plug_file))
        subprocess.run([os.path.join(self.root, "scripts", "wine-prefix"), self.prefix, "test"], env=self.env,
                       check=True, stdout=subprocess.DEVNULL)
        # A walk ended before its time may have left the program running in this prefix.
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)
        # A crash ends the process, its backtrace written to the program's error output,
        # instead of a dialog that would outlive it and stand over the next start.
        subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog", "/t",
                        "REG_DWORD", "/d", "0", "/f"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.screen = Screen(self.env["DISPLAY"])

    def stop_machine(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        if self.xvfb is not None:
            self.xvfb.send_signal(signal.SIGTERM)
            self.xvfb.wait()
            self.xvfb = None

    @staticmethod
    def windows_path(path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def work_file(self, name):
        return os.path.join(self.work, name)

    def data_folder(self):
        users = glob.glob(os.path.join(self.prefix, "drive_c", "users", "*", "AppData", "Roaming"))
        users = [u for u in users if "/Public/" not in u]
        return os.path.join(users[0] if users else self.prefix, "Korvane")

    def fresh_start_files(self):
        """A first start: no data folder, an empty report log, the keyboard plugged in."""
        shutil.rmtree(self.data_folder(), ignore_errors=True)
        for path in (self.reports, self.plug_file + ".done"):
            if os.path.exists(path):
                os.remove(path)
        self.plug_number = 0
        with open(self.plug_file, "w") as out:
            out.write("0 plug")

    # -- processes -----------------------------------------------------------------

    def launch(self, arguments=()):
        with open(self.errors, "ab") as errors:
            return subprocess.Popen(["wine", self.exe, *arguments], env=self.env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=errors)

    def start_program(self):
        """Starts the program and waits for its main window; False when none shows (or the
        start found another instance and ended)."""
        self.process = self.launch()
        return self.wait_for(lambda: self.main_window() is not None, 30) and self.running()

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_for_exit(self, seconds):
        try:
            self.process.wait(timeout=seconds)
            return True
        except subprocess.TimeoutExpired:
            return False

    def second_start(self):
        second = self.launch()
        try:
            second.wait(timeout=30)
        except subprocess.TimeoutExpired:
            second.kill()
            return False
        return True

    def kill_program(self):
        """Ends the program at once, as a crash would, and waits until its windows are gone
        (so that the next start is a first instance again)."""
        if self.running():
            self.process.kill()
            self.process.wait()
        if self.xvfb is not None:
            self.wait_for(lambda: not self.xdotool("search", "--class", PROGRAM_CLASS), 15, 0.2)

    def start_notepad(self):
        # Notepad opens where its settings say. A window moved behind Wine's back (xdotool
        # windowmove, with no window manager) stays where Wine last put it as far as Wine
        # knows, and a click on it then never brings it to the front.
        x, y, w, h = NOTEPAD_PLACE
        for name, value in (("iWindowPosX", x), ("iWindowPosY", y), ("iWindowPosDX", w), ("iWindowPosDY", h)):
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Microsoft\Notepad", "/v", name, "/t",
                            "REG_DWORD", "/d", str(value), "/f"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.notepad = subprocess.Popen(["wine", "notepad"], env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.wait_for(lambda: self._notepad_window() is not None, 30):
            return self._notepad_window()
        return None

    def _notepad_window(self):
        found = self.xdotool("search", "--onlyvisible", "--class", "notepad").split()
        return found[0] if found else None

    # -- seeing --------------------------------------------------------------------

    def xdotool(self, *arguments):
        result = subprocess.run(["xdotool", *[str(a) for a in arguments]], env=self.env, capture_output=True,
                                text=True)
        return result.stdout.strip()

    def windows(self):
        """The program's visible top-level windows: [(id, x, y, w, h, name)]."""
        found = []
        for window in self.xdotool("search", "--onlyvisible", "--class", PROGRAM_CLASS).split():
            shell = self.xdotool("getwindowgeometry", "--shell", window)
            values = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
            try:
                x, y, w, h = (int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
            except (KeyError, ValueError):
                continue
            if w <= 1 and h <= 1:
                continue
            found.append((window, x, y, w, h, self.xdotool("getwindowname", window)))
        return found

    def crash_dialog(self):
        """Whether Wine shows its dialog for a program that crashed."""
        return bool(self.xdotool("search", "--onlyvisible", "--name", "^Program Error$"))

    def window_of_size(self, size, windows=None):
        for window in windows if windows is not None else self.windows():
            if (window[3], window[4]) == size:
                return window
        return None

    def main_window(self, windows=None):
        for window in windows if windows is not None else self.windows():
            if window[5] == "Korvane" and (window[3], window[4]) == MAIN_SIZE:
                return window
        return None

    def main_origin(self):
        window = self.main_window()
        return (window[1], window[2]) if window else None

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, stderr=subprocess.DEVNULL)

    @staticmethod
    def wait_for(condition, seconds, interval=0.1):
        end = time.time() + seconds
        while time.time() < end:
            if condition():
                return True
            time.sleep(interval)
        return condition()

    # -- acting --------------------------------------------------------------------

    def click_at(self, x, y, settle=0.35):
        self.xdotool("mousemove", x, y)
        time.sleep(0.08)
        self.xdotool("click", 1)
        time.sleep(settle)

    def double_click_at(self, x, y):
        self.xdotool("mousemove", x, y)
        time.sleep(0.08)
        self.xdotool("click", "--repeat", 2, "--delay", 80, 1)
        time.sleep(0.35)

    def scroll_at(self, x, y, notches):
        """Mouse wheel notches over a point: down for a positive count, up for a negative."""
        self.xdotool("mousemove", x, y)
        time.sleep(0.08)
        self.xdotool("click", "--repeat", abs(notches), "--delay", 40, 5 if notches > 0 else 4)
        time.sleep(0.2)

    def tray_icon(self):
        """Where the program's icon sits in Wine's system tray window, or None when the tray
        shows no icon (Wine hides the window then)."""
        found = self.xdotool("search", "--onlyvisible", "--name", "^Wine System Tray$").split()
        if not found:
            return None
        shell = self.xdotool("getwindowgeometry", "--shell", found[0])
        values = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        x, y, h = int(values["X"]), int(values["Y"]), int(values["HEIGHT"])
        return x + 12, y + h - 12

    def park_mouse(self):
        self.xdotool("mousemove", 1, SCREEN[1] - 2)

    def click_control(self, origin, rect, settle=0.35):
        x, y, w, h = rect
        self.click_at(origin[0] + x + w // 2, origin[1] + y + h // 2, settle)

    def type_keys(self, keys):
        self.xdotool("type", "--delay", 90, keys)
        time.sleep(0.25)

    def press(self, key):
        self.xdotool("key", key)
        time.sleep(0.3)

    def click_notepad(self):
        x, y, w, h = NOTEPAD_PLACE
        self.click_at(x + w // 2, y + h // 2 + 20, settle=0.3)

    def set_plug(self, plugged):
        self.plug_number += 1
        command = "%d %s" % (self.plug_number, "plug" if plugged else "unplug")
        with open(self.plug_file + ".new", "w") as out:
            out.write(command)
        os.replace(self.plug_file + ".new", self.plug_file)
        done = self.plug_file + ".done"

        def acknowledged():
            try:
                with open(done) as handle:
                    return handle.read().strip() == command
            except OSError:
                return False
        return self.wait_for(acknowledged, 20, 0.05) if self.running() else True
