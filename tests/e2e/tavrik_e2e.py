"""Drives the real tavrik.exe under Wine on the tests' private desktop.

The tool is observed only through our own Win32 helpers: probe.exe reads the window's controls
(texts come back as hex bytes, so GBK stays GBK), witness.exe stands in for the game and logs the
keys it receives. Input comes from xdotool, as a player's would. Every process started here is
ended by its own id."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

ROOT = os.environ.get("TAVRIK_ROOT", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
BUILD = os.environ["TAVRIK_BUILD"]
EXE = os.environ.get("TAVRIK_EXE", os.path.join(os.path.dirname(BUILD), "win", "src", "tavrik.exe"))
HARNESS = os.path.join(BUILD, "tests", "harness")

# Where 32-bit code is emulated, a 32-bit Wine process needs about a minute to start.
START_TIMEOUT = float(os.environ.get("TAVRIK_START_TIMEOUT", "300"))

WM_CLOSE = 0x0010
WM_QUERYENDSESSION = 0x0011


def _control_names():
    """Control ids in the order of the Control enum: id = 1001 + index."""
    text = open(os.path.join(ROOT, "src", "app", "controls.h"), encoding="utf-8").read()
    body = text[text.index("enum class Control"):]
    body = body[body.index("{") + 1:body.index("None")]
    names = [n.strip() for n in body.split(",") if n.strip()]
    return {name: 1001 + i for i, name in enumerate(names)}


CONTROL_IDS = _control_names()


def gbk(text):
    return text.encode("gbk")


def wine_env():
    env = dict(os.environ)
    out = subprocess.run(
        ["bash", "-c", f'TAVRIK_BUILD="{BUILD}"; . "{ROOT}/tests/harness/wine-env"; env -0'],
        check=True, capture_output=True).stdout
    for item in out.split(b"\0"):
        if b"=" in item:
            k, v = item.split(b"=", 1)
            env[k.decode()] = v.decode(errors="replace")
    return env


ENV = wine_env()


def wait_for(predicate, timeout, interval=0.1, what="condition"):
    """Polls until predicate() gives a true value; returns it, or raises after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def run64(exe, *args, timeout=60):
    return subprocess.run([ENV["WINE64"], exe, *map(str, args)], env=ENV, capture_output=True, timeout=timeout)


def probe(*args):
    result = run64(os.path.join(HARNESS, "probe.exe"), *args)
    return result.returncode, result.stdout.decode(errors="replace")


def _fields(line):
    fields = {}
    for key, value in re.findall(r"(\w+)=(\S*)", line):
        fields[key] = value
    return fields


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], env=ENV, check=True, capture_output=True, timeout=30)


class Control:
    def __init__(self, fields):
        self.id = int(fields["id"])
        self.parent = int(fields["parent"])
        self.cls = fields["class"]
        self.visible = fields["visible"] == "1"
        self.enabled = fields["enabled"] == "1"
        self.focused = fields["focus"] == "1"
        self.checked = int(fields["checked"])
        self.local = tuple(int(v) for v in fields["local"].split(","))
        self.screen = tuple(int(v) for v in fields["screen"].split(","))
        self.text = bytes.fromhex(fields.get("text", ""))
        self.selected = int(fields["selected"]) if "selected" in fields else None

    @property
    def centre(self):
        x, y, w, h = self.screen
        return x + w // 2, y + h // 2


class Tool:
    """One running tavrik.exe, in a run folder of its own (key.ini lives beside the exe)."""

    def __init__(self, run_dir=None, exe=EXE):
        self.own_dir = run_dir is None
        self.run_dir = run_dir or tempfile.mkdtemp(prefix="tavrik-run-", dir=os.path.join(BUILD, "session"))
        self.exe = os.path.join(self.run_dir, "tavrik.exe")
        shutil.copyfile(exe, self.exe)
        self.process = None
        self.window = None

    # --- lifetime -------------------------------------------------------------------------
    def start(self, wait_visible=True):
        # A 64-bit build goes straight to the 64-bit loader (used when measuring on this machine).
        with open(self.exe, "rb") as f:
            head = f.read(4096)
        pe = int.from_bytes(head[0x3C:0x40], "little")
        wine = ENV["WINE64"] if head[pe + 4:pe + 6] == b"\x64\x86" else "wine"
        self.process = subprocess.Popen([wine, self.exe], env=ENV, cwd=self.run_dir, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        if wait_visible:
            self.window = wait_for(self._visible_window, START_TIMEOUT, 0.5, "the main window to show")
        return self

    def _visible_window(self):
        if self.process.poll() is not None:
            raise AssertionError(f"tavrik.exe ended early with {self.process.returncode}")
        code, out = probe("window")
        if code == 0 and "visible=1" in out:
            return _fields(out)
        return None

    def wait_exit(self, timeout=60):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("tavrik.exe did not end")

    def kill(self):
        if self.process and self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait(30)

    def __enter__(self):
        return self if self.process else self.start()

    def __exit__(self, *exc):
        self.kill()
        if self.own_dir:
            shutil.rmtree(self.run_dir, ignore_errors=True)

    # --- looking ----------------------------------------------------------------------------
    def window_fields(self):
        code, out = probe("window")
        return _fields(out) if code == 0 else None

    def caption(self):
        return bytes.fromhex(self.window_fields()["caption"])

    def controls(self):
        code, out = probe("controls")
        assert code == 0, out
        by_id = {}
        for line in out.splitlines():
            if line.startswith("id="):
                c = Control(_fields(line))
                if c.id:
                    by_id[c.id] = c
        return {name: by_id.get(cid) for name, cid in CONTROL_IDS.items()}

    def control(self, name):
        return self.controls()[name]

    def text(self, name):
        return self.control(name).text

    def wait_text(self, name, expected, timeout=30):
        return wait_for(lambda: self.text(name) == expected, timeout, what=f"{name} to read {expected!r}")

    # --- acting -----------------------------------------------------------------------------
    def focus_window(self):
        xdotool("windowfocus", "--sync", self.window_fields()["x11"])

    def click_at(self, x, y):
        xdotool("mousemove", "--sync", x, y)
        xdotool("click", 1)

    def click(self, name):
        self.click_at(*self.control(name).centre)

    def select_page(self, page):
        # As a player would: a click on the first tab (which also gives the tab control the
        # focus), then the arrow keys. No tab rectangles needed from the other process.
        tab = self.control("选择夹1")
        self.click_at(tab.screen[0] + 12, tab.screen[1] + 10)
        wait_for(lambda: self.control("选择夹1").selected == 0, 30, what="page 1")
        for _ in range(page - 1):
            self.key("Right")
        wait_for(lambda: self.control("选择夹1").selected == page - 1, 30, what=f"page {page}")

    def key(self, *keys):
        xdotool("key", "--clearmodifiers", *keys)

    def post(self, message, wparam=0, lparam=0):
        return probe("post", message, wparam, lparam)[0] == 0

    def screenshot(self, path):
        fields = self.window_fields()
        x, y, w, h = (int(v) for v in fields["rect"].split(","))
        subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path], env=ENV,
                       check=True, timeout=60)


class Witness:
    """Our stand-in for the game: a focused window that logs every key it receives."""

    def __init__(self):
        self.log = tempfile.mktemp(prefix="witness-", suffix=".log", dir=os.path.join(BUILD, "session"))
        self.process = None
        self.x11 = None

    def __enter__(self):
        self.process = subprocess.Popen([ENV["WINE64"], os.path.join(HARNESS, "witness.exe"), self.log], env=ENV,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        ready = wait_for(lambda: self._ready(), 60, what="the witness window")
        self.x11 = ready["x11"]
        return self

    def _ready(self):
        for line in self.lines():
            if line.startswith("ready"):
                return _fields(line)
        return None

    def __exit__(self, *exc):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait(30)
        try:
            os.unlink(self.log)
        except OSError:
            pass

    def lines(self):
        try:
            with open(self.log, encoding="ascii", errors="replace") as f:
                return [line.rstrip("\n") for line in f]
        except FileNotFoundError:
            return []

    def focus(self):
        # A click, as a player gives the game the keyboard: without a window manager Wine does
        # not always take an X focus change as an activation. The window sits at 20,20 (260 x 120).
        xdotool("mousemove", "--sync", 150, 90)
        xdotool("click", 1)

    def events(self, kind="msg"):
        """(what, vk) of every logged event of one kind, in order."""
        out = []
        for line in self.lines():
            if line.startswith(kind + " "):
                f = _fields(line)
                out.append((line.split()[1], int(f["vk"])))
        return out

    def mark(self):
        return len(self.lines())

    def events_since(self, mark, kind="msg"):
        out = []
        for line in self.lines()[mark:]:
            if line.startswith(kind + " "):
                f = _fields(line)
                out.append((line.split()[1], int(f["vk"])))
        return out
