"""A private Wine world for the tools and the tests: what this host can run, prefix, display,
persistent wineserver, registry, relay traces, window inspection and screenshots. Every Wine
command of the repository is started from here: tools/run, tools/test, tools/bench and
tools/screenshots, CMake's run of the Windows tests, and the end-to-end tests (tests/e2e).

Imported as a module (tools put tools/lib on sys.path; so does tests/e2e/conftest.py), and run
as a command by the shell tools and CMake:
    python3 tools/lib/winebox.py env                          shell exports of the decision, for child processes
    python3 tools/lib/winebox.py builds                       the builds this host runs, preferred first
    python3 tools/lib/winebox.py host                         one line: what this host runs, and so which builds
    python3 tools/lib/winebox.py run PROGRAM.exe [ARGS...]   run one Windows program, pass its exit code
    python3 tools/lib/winebox.py run --overrides=DLLS=n,b PROGRAM.exe [ARGS...]
                                                              the same, with those DLLs native first
    python3 tools/lib/winebox.py show PROGRAM.exe [ARGS...]  run a program on the user's own display
    python3 tools/lib/winebox.py shot PROGRAM.exe PNG SECONDS show a program, save a screenshot, close it
    python3 tools/lib/winebox.py shot --test-prefix PROGRAM.exe PNG SECONDS
                                                              the same in the prefix the tests use
    python3 tools/lib/winebox.py version                      Wine's version
"""
from __future__ import annotations

import functools
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build"
SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\Tamberlin\Vantrel Desk Guard"

# Debian's Wine: one loader per word size. Its `wine` script picks the 32-bit loader whenever it
# is installed, even where the kernel cannot run it, so the loader is always named here.
WINE_LIB = Path("/usr/lib/wine")
LOADERS = {"win32": WINE_LIB / "wine", "win64": WINE_LIB / "wine64"}
WINESERVER = "wineserver"  # Debian's script starts the 64-bit server where there is one
BUILD_NAMES = {"win32": "32-bit", "win64": "64-bit"}
# The window reader's commands that may be run again: they only read, or (reset) a second run
# changes nothing.
READS = {"tree", "boxes", "tooltips", "accessible", "modules", "resources", "reset"}
# What every prefix holds, (key, value name, data), set where it is missing.
PREFIX_SETTINGS = [
    # Wine has no Arial; Liberation Sans has the same metrics, so text fits as designed.
    (r"HKCU\Software\Wine\Fonts\Replacements", "Arial", "Liberation Sans"),
]
# And what a prefix on a virtual display holds. No window manager runs there, and Wine waits 2 s
# for one to withdraw each managed window it hides or destroys once shown: every form a test
# showed, and Wine's tray window when its last icon goes (inside the program's NIM_DELETE). Left
# unmanaged, Wine draws the windows' frames itself, as Windows does, and hides them at once;
# Windows keeps no caller waiting either.
VIRTUAL_DISPLAY_SETTINGS = [
    (r"HKCU\Software\Wine\X11 Driver", "Managed", "N"),
]


@functools.cache
def host_runs_32bit() -> bool:
    """Whether this host runs 32-bit programs, found out by starting Wine's 32-bit loader: some
    kernels run no 32-bit user code at all ("Exec format error"). Asked once per process; the
    answer is handed on to child processes through the environment."""
    known = os.environ.get("VDG_HOST_RUNS_32BIT")
    if known in ("0", "1"):
        return known == "1"
    try:
        runs = subprocess.run([str(LOADERS["win32"]), "--version"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=60).returncode == 0
    except OSError:
        runs = False
    os.environ["VDG_HOST_RUNS_32BIT"] = "1" if runs else "0"
    return runs


def runnable_builds() -> list[str]:
    """The builds that run under Wine here, the shipped 32-bit one first where it runs."""
    return ["win32", "win64"] if host_runs_32bit() else ["win64"]


def default_build() -> str:
    """The build tests and tools use unless told otherwise (VDG_BUILD)."""
    chosen = os.environ.get("VDG_BUILD") or runnable_builds()[0]
    if chosen not in runnable_builds():
        raise RuntimeError(f"this host cannot run the {BUILD_NAMES.get(chosen, chosen)} build under Wine")
    return chosen


def host_line() -> str:
    if host_runs_32bit():
        return ("This host runs 32-bit code: the Windows tests run on both builds, the end-to-end tests in full "
                "on the shipped 32-bit build and, on the 64-bit build, those where word size can matter "
                "(-m both_builds).")
    return ("This host runs no 32-bit code: the 32-bit build was built and checked but not run; "
            "the Wine tiers run on the 64-bit build.")


def exe_build(program) -> str:
    """"win32" or "win64", read from the program's own PE header."""
    with open(program, "rb") as f:
        head = f.read(4096)
    at = int.from_bytes(head[0x3C:0x40], "little")
    machine = int.from_bytes(head[at + 4:at + 6], "little")
    return {0x14C: "win32", 0x8664: "win64"}[machine]


def wine_version() -> str:
    loader = LOADERS[runnable_builds()[0]]
    return subprocess.run([str(loader), "--version"], capture_output=True, text=True).stdout.strip()


def wait_for(condition, timeout=20.0, interval=0.05, what="condition"):
    """Polls `condition` until it returns something truthy; raises TimeoutError at the deadline."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class WineBox:
    """One Wine prefix with its own X display and a wineserver kept alive between processes."""

    def __init__(self, prefix: Path | None = None, arch: str | None = None, virtual_display: bool = True):
        self.arch = arch or default_build()
        self.prefix = Path(prefix or BUILD / f"wineprefix-{self.arch}")
        self.loader = str(LOADERS[self.arch])
        self.xvfb: subprocess.Popen | None = None
        self.server: subprocess.Popen | None = None
        self.virtual_display = virtual_display
        self.display = os.environ.get("DISPLAY", "") if not virtual_display else ""
        self.started: list[subprocess.Popen] = []

    # ---- environment -------------------------------------------------------------------------
    def env(self, debug: str = "-all", overrides: str = "") -> dict:
        """`overrides` adds to Wine's DLL overrides, e.g. "uxtheme=n,b" (a native copy first)."""
        env = dict(os.environ)
        env.update(WINEPREFIX=str(self.prefix), WINEARCH=self.arch, WINEDEBUG=debug, WINELOADER=self.loader,
                   DISPLAY=self.display, WINEDLLOVERRIDES=";".join(filter(None, ["mscoree,mshtml=", overrides])))
        return env

    def command(self, program, *args) -> list[str]:
        """The command line that starts a Windows program (or a Wine tool: "reg", "msiexec") here."""
        return [self.loader, str(program), *map(str, args)]

    def build_dir(self) -> Path:
        return BUILD / self.arch

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        if not self.display:
            self._start_xvfb()
        fresh = not (self.prefix / "system.reg").exists()
        if fresh:
            self.prefix.parent.mkdir(parents=True, exist_ok=True)
            subprocess.run(self.command("wineboot", "-i"), env=self.env(), check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run([WINESERVER, "-w"], env=self.env(), check=True)
        # A persistent server makes each later Wine process start in well under a second.
        self.server = subprocess.Popen([WINESERVER, "-f", "-p"], env=self.env(),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for key, name, data in self._missing_settings():
            self.reg_add(key, name, data)

    def _missing_settings(self) -> list[tuple[str, str, str]]:
        """The prefix's settings not yet in its user.reg (where Wine keeps HKCU), read as a file:
        cheaper than a reg.exe for each."""
        wanted = PREFIX_SETTINGS + (VIRTUAL_DISPLAY_SETTINGS if self.virtual_display else [])
        try:
            saved = (self.prefix / "user.reg").read_text(errors="replace")
        except OSError:
            return wanted
        missing = []
        for key, name, data in wanted:
            start = saved.find("\n[" + key.split("\\", 1)[1].replace("\\", "\\\\") + "]")
            end = saved.find("\n[", start + 1)
            if start < 0 or f'"{name}"="{data}"' not in saved[start:end if end > 0 else None]:
                missing.append((key, name, data))
        return missing

    def _start_xvfb(self):
        for number in range(90, 190):
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            self.xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x800x24",
                                          "-nolisten", "tcp"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                wait_for(lambda: Path(f"/tmp/.X11-unix/X{number}").exists() or self.xvfb.poll() is not None,
                         timeout=10, what="Xvfb")
            except TimeoutError:
                pass
            if self.xvfb.poll() is None:
                self.display = f":{number}"
                return
        raise RuntimeError("no free X display number for Xvfb")

    def stop(self):
        for proc in self.started:
            self._end(proc)
        self.started.clear()
        subprocess.run([WINESERVER, "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        if self.server:
            self._end(self.server)
            self.server = None
        if self.xvfb:
            self._end(self.xvfb)
            self.xvfb = None

    @staticmethod
    def _end(proc: subprocess.Popen):
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()

    # ---- processes ---------------------------------------------------------------------------
    def run(self, program, *args, timeout=600, debug="-all", overrides="", **kwargs) -> subprocess.CompletedProcess:
        return subprocess.run(self.command(program, *args), env=self.env(debug, overrides),
                              timeout=timeout, **kwargs)

    def launch(self, program, *args, trace: list[str] | None = None, log: Path | None = None,
               timestamps: bool = False, channels: str = "", overrides: str = "") -> "Launched":
        """Starts a program without waiting. `trace` names DLL.function calls to relay-trace;
        with `timestamps` each traced line carries Wine's clock, which is CLOCK_MONOTONIC_RAW.
        `channels` adds Wine debug channels to the log ("+loaddll"); `overrides` as for env()."""
        debug = "-all"
        if trace:
            self.reg_add(r"HKCU\Software\Wine\Debug", "RelayInclude", ";".join(trace))
            debug = "-all,+relay" + (",+timestamp" if timestamps else "")
        if channels:
            debug += "," + channels
        log = Path(log or BUILD / "e2e-logs" / f"{Path(str(program)).stem}-{time.monotonic_ns()}.log")
        log.parent.mkdir(parents=True, exist_ok=True)
        out = open(log, "wb")
        proc = subprocess.Popen(self.command(program, *args), env=self.env(debug, overrides),
                                stdout=out, stderr=subprocess.STDOUT)
        out.close()
        self.started.append(proc)
        return Launched(self, proc, log)

    # ---- registry ----------------------------------------------------------------------------
    def _reg(self, *args, check=False) -> subprocess.CompletedProcess:
        """Runs Wine's reg.exe. Every call here is idempotent, so one that fails is made once more
        (seen rarely: reg.exe ending with 1 under a loaded machine); a second failure is raised
        with reg.exe's own words when `check` is set."""
        for attempt in (1, 2):
            done = self._output(self.command("reg", *args))
            if done.returncode == 0 or not check:
                break
            print(f"reg {' '.join(args[:2])}: ended with {done.returncode} ({done.stderr.strip()[-300:]})"
                  + ("; once more" if attempt == 1 else ""), file=sys.stderr)
        if check and done.returncode != 0:
            raise RuntimeError(f"reg {' '.join(args)}: {done.stdout.strip()} {done.stderr.strip()}")
        return done

    def _output(self, command: list[str], timeout=None) -> subprocess.CompletedProcess:
        """Runs a Wine program to its end and returns what it printed; Wine's own errors go to
        stderr too, so a failure says why. Files, not pipes: the Wine services that the first
        program of a session starts would hold a pipe open for good."""
        with tempfile.TemporaryFile("w+", errors="replace") as out, \
                tempfile.TemporaryFile("w+", errors="replace") as err:
            code = subprocess.run(command, env=self.env("err+all"), stdout=out, stderr=err,
                                  timeout=timeout).returncode
            out.seek(0), err.seek(0)
            return subprocess.CompletedProcess(command, code, out.read(), err.read())

    def reg_add(self, key: str, name: str, data: str, kind: str = "REG_SZ"):
        self._reg("add", key, "/v", name, "/t", kind, "/d", data, "/f", check=True)

    def reg_delete_key(self, key: str):
        self._reg("delete", key, "/f")

    def reg_delete_value(self, key: str, name: str):
        self._reg("delete", key, "/v", name, "/f")

    def reg_values(self, key: str) -> dict[str, str]:
        """The REG_SZ values of a key, {} when the key does not exist."""
        out = self._reg("query", key).stdout
        values = {}
        for line in out.splitlines():
            parts = line.strip().split("    ")
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2] if len(parts) > 2 else ""
        return values

    # ---- windows -----------------------------------------------------------------------------
    def inspect_exe(self) -> Path:
        return self.build_dir() / "bin" / "window_reader.exe"

    def inspect(self, *args, check=True, timeout=60) -> str:
        """Runs the window reader (tests/e2e/window_reader.cpp, built beside the program) and returns
        what it printed."""
        for attempt in (1, 2):
            done = self._output(self.command(self.inspect_exe(), *args), timeout)
            # The reader never ends with 1; a read that Wine ended so, having printed nothing (seen
            # rarely while message boxes came and went), is read once more. An action is not repeated.
            if not (done.returncode == 1 and not done.stdout and args[0] in READS and attempt == 1):
                break
            print(f"window reader {args[0]}: Wine ended it with 1 ({done.stderr.strip()[-300:]}); reading again",
                  file=sys.stderr)
        if check and done.returncode != 0:
            raise RuntimeError(f"window reader {' '.join(map(str, args))}: {done.stderr.strip()}")
        return done.stdout

    def tree(self, title: str) -> dict | None:
        """The window titled `title` and its controls, or None when there is no such window."""
        out = self.inspect("tree", title, check=False)
        return json.loads(out) if out.strip() else None

    def boxes(self) -> list[dict]:
        """The message boxes on screen: title, text, buttons, whether they carry an icon."""
        return json.loads(self.inspect("boxes"))

    def tooltips(self) -> list[dict]:
        """The visible tooltips and balloons of all programs: their text, whether a balloon."""
        return json.loads(self.inspect("tooltips"))

    # ---- the notification area -----------------------------------------------------------------
    # With no tray host on the X display, Wine's explorer shows the icons in its own window.
    TRAY_TITLE = "Wine System Tray"
    TRAY_ICON_MIDDLE = (10, 10)  # the middle of the first icon, within that window's client area

    def tray_window(self, timeout=20.0) -> str:
        return wait_for(lambda: self.x_window(self.TRAY_TITLE), timeout=timeout, what="Wine's tray window")

    def tray_icon_spot(self) -> tuple[str, int, int]:
        """The tray's X window and the first icon's middle within it: below the frame that Wine
        draws itself on the tray window, which no window manager frames (see start)."""
        window = self.tray_window()
        tray = wait_for(lambda: self.tree(self.TRAY_TITLE), what="Wine's tray window's frame")
        (x, y, _, _), (client_x, client_y) = tray["rect"], tray["origin"]
        return window, client_x - x + self.TRAY_ICON_MIDDLE[0], client_y - y + self.TRAY_ICON_MIDDLE[1]

    def click_tray_icon(self, button: int = 1):
        """A press and release on the first tray icon (1 left, 3 right), as a user's click."""
        self.xdotool("mousemove", "--window", *self.tray_icon_spot(), "click", button)

    def point_at_tray_icon(self):
        self.xdotool("mousemove", "--window", *self.tray_icon_spot())

    def tray_icon_pixels(self, path: Path, rgb: tuple[int, int, int], tolerance: int = 24) -> int:
        """Saves a picture of the tray window's icons (its client area: not the frame Wine draws,
        whose wine glass is red) and counts its pixels near the colour `rgb`."""
        self.tray_window()
        tray = wait_for(lambda: self.tree(self.TRAY_TITLE), what="Wine's tray window's frame")
        (x, y), (_, _, w, h) = tray["origin"], tray["client"]
        full = self.screenshot(Path(path).with_suffix(".full.png"))
        subprocess.run(["convert", str(full), "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(path)], check=True)
        text = subprocess.run(["convert", str(path), "-depth", "8", "txt:-"], capture_output=True,
                              text=True, check=True).stdout
        count = 0
        for line in text.splitlines()[1:]:
            values = line.split("(")[1].split(")")[0].split(",")[:3]
            if all(abs(int(float(v)) - c) <= tolerance for v, c in zip(values, rgb)):
                count += 1
        return count

    # ---- screen ------------------------------------------------------------------------------
    def screenshot(self, path: Path) -> Path:
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-window", "root", str(path)], check=True,
                       env=dict(os.environ, DISPLAY=self.display))
        return path

    def save_window_shot(self, rect, dest: Path) -> Path:
        """Screenshots the screen and keeps the window's rectangle [x, y, w, h] as a PNG without
        metadata, so an unchanged window gives an unchanged file."""
        x, y, w, h = rect
        shot = self.screenshot(BUILD / "screenshots" / f"screen-{time.monotonic_ns()}.png")
        dest = Path(dest)
        dest.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["convert", str(shot), "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-strip", str(dest)],
                       check=True)
        return dest

    def xdotool(self, *args) -> str:
        return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                              env=dict(os.environ, DISPLAY=self.display)).stdout.strip()

    def x_window(self, title: str) -> str | None:
        """The X window id of a visible top-level window with exactly this title, or None."""
        ids = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$").split()
        return ids[0] if ids else None


class Launched:
    """A program started by WineBox.launch, with its relay trace / output log."""

    def __init__(self, box: WineBox, proc: subprocess.Popen, log: Path):
        self.box, self.proc, self.log = box, proc, log

    def output(self) -> str:
        return self.log.read_text(errors="replace")

    def calls(self, function: str) -> list[str]:
        """Argument lists of relay-traced calls, e.g. calls("user32.RegisterHotKey")."""
        found = []
        for line in self.output().splitlines():
            marker = f"Call {function}("
            at = line.find(marker)
            if at >= 0:
                found.append(line[at + len(marker):line.rfind(")")])
        return found

    def timed_calls(self, function: str) -> list[float]:
        """Wine's clock (seconds) at each traced call of `function`; needs launch(timestamps=True)."""
        marker = f"Call {function}("
        return [float(line.split(":", 1)[0]) for line in self.output().splitlines() if marker in line]

    def notify_operations(self) -> list[int]:
        """The operations of the traced Shell_NotifyIconA calls: 0 add, 1 modify, 2 delete."""
        return [int(args.split(",")[0], 16) for args in self.calls("shell32.Shell_NotifyIconA")]

    def alive(self) -> bool:
        return self.proc.poll() is None

    def wait(self, timeout=10) -> int:
        return self.proc.wait(timeout=timeout)

    def end(self):
        WineBox._end(self.proc)


def _main(argv: list[str]) -> int:
    if argv == ["env"]:
        runnable_builds()
        print(f"export VDG_HOST_RUNS_32BIT={os.environ['VDG_HOST_RUNS_32BIT']} "
              f"VDG_WINE_BUILDS='{' '.join(runnable_builds())}'")
        return 0
    if argv == ["builds"]:
        print(" ".join(runnable_builds()))
        return 0
    if argv == ["host"]:
        print(host_line())
        return 0
    if argv == ["version"]:
        print(wine_version())
        return 0
    if len(argv) >= 3 and argv[0] == "run" and argv[1].startswith("--overrides="):
        with WineBox(arch=exe_build(argv[2])) as box:
            return box.run(argv[2], *argv[3:], overrides=argv[1].partition("=")[2]).returncode
    if len(argv) >= 2 and argv[0] == "run":
        with WineBox(arch=exe_build(argv[1])) as box:
            return box.run(argv[1], *argv[2:]).returncode
    if len(argv) >= 2 and argv[0] == "show":
        build = exe_build(argv[1])
        with WineBox(arch=build, prefix=BUILD / f"wineprefix-user-{build}", virtual_display=False) as box:
            return box.run(argv[1], *argv[2:], timeout=None).returncode
    if argv[:1] == ["shot"] and argv[1:-3] in ([], ["--test-prefix"]) and len(argv) >= 4:
        # No stored options: what a new user sees at the first start. A prefix of its own, where
        # nothing a test left (a policy, a start-up value) shows; --test-prefix saves making one.
        exe, png, seconds = argv[-3:]
        build = exe_build(exe)
        own = None if "--test-prefix" in argv else BUILD / f"wineprefix-shot-{build}"
        with WineBox(arch=build, prefix=own) as box:
            box.reg_delete_key(SETTINGS_KEY)
            program = box.launch(exe)
            wait_for(lambda: box.x_window("Vantrel Desk Guard"), timeout=30, what="the main window")
            time.sleep(float(seconds))
            box.screenshot(Path(png))
            program.end()
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(_main(sys.argv[1:]))
