#!/usr/bin/env python3
"""Remap latency of tavrik.exe against a minimal remapper of our own, in one run on one desktop.

    bench/remap/remap_latency.py [WIN_BUILD_DIR] [TAVRIK_EXE]

WIN_BUILD_DIR is a 64-bit Windows build (default build/win64) holding the witness, the probe and
reference_remapper.exe; TAVRIK_EXE defaults to that build's own src/tavrik.exe, since a 32-bit
process runs emulated on a machine without 32-bit support and its times would measure the
emulator. The script starts the build's private desktop and stops it at the end.

The witness stands in for the game and times every key event in its low-level hook. The tool
remaps Q (slot 1) to keypad 8; the reference remaps W to keypad 9. Q and W are pressed in turn
with xdotool, so both remappers see the same desktop at the same moments. A latency is the time
from a physical key-down to the next injected key-down of its target.

Prints "name: value" lines; the last is the median ratio tool / reference.
"""

import os
import signal
import statistics
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "win64"))
os.environ["TAVRIK_BUILD"] = BUILD
os.environ.setdefault("TAVRIK_ROOT", ROOT)
os.environ["TAVRIK_EXE"] = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else os.path.join(BUILD, "src", "tavrik.exe")
SESSION = os.path.join(ROOT, "tests", "harness", "wine-session")

PRESSES = int(os.environ.get("TAVRIK_BENCH_PRESSES", "200"))
IDLE_SECONDS = float(os.environ.get("TAVRIK_BENCH_IDLE", "30"))
KEY_DELAY_MS = 40

# The reference injects keypad 9: no key the tool holds as a hotkey, so neither remapper fires
# the other (the tool's slots 2 to 6 keep their keypad keys).
VK_Q, VK_W, VK_NUMPAD8, VK_NUMPAD9 = 81, 87, 104, 105


def log(message):
    print(f"# {message}", file=sys.stderr, flush=True)


def main():
    subprocess.run([SESSION, "start", BUILD], check=True)
    try:
        run()
    finally:
        subprocess.run([SESSION, "stop", BUILD], check=False)


def run():
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    import tavrik_e2e as e2e

    class Tool64(e2e.Tool):
        """The tool started through the 64-bit loader."""

        def start(self, wait_visible=True):
            self.process = subprocess.Popen([e2e.ENV["WINE64"], self.exe], env=e2e.ENV, cwd=self.run_dir,
                                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL, start_new_session=True)
            if wait_visible:
                self.window = e2e.wait_for(self._visible_window, e2e.START_TIMEOUT, 0.5, "the main window to show")
            return self

    reference = None
    with e2e.Witness() as witness, Tool64() as tool:
        try:
            # Slot 1 is Q: the capture road, as a player takes it.
            tool.select_page(2)
            tool.click("编辑框1")
            tool.key("q")
            tool.wait_text("编辑框1", b"Q" + e2e.gbk("键"))
            witness.focus()
            tool.key("F8")
            tool.wait_text("标签8", e2e.gbk("状态: 已改键"))
            log("tool remapping on")

            reference = subprocess.Popen([e2e.ENV["WINE64"], os.path.join(BUILD, "bench", "remap", "reference_remapper.exe"),
                                          str(VK_W), str(VK_NUMPAD9)], env=e2e.ENV, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
            if reference.stdout.readline().strip() != b"ready":
                raise AssertionError("the reference remapper could not register W")
            log("reference ready")

            witness.focus()
            mark = witness.mark()
            keys = ["q", "w"] * PRESSES
            e2e.xdotool("key", "--delay", KEY_DELAY_MS, *keys)
            e2e.wait_for(lambda: count_downs(witness.lines()[mark:], VK_NUMPAD9) >= PRESSES, 60,
                         what="the last injected key")
            lines = witness.lines()[mark:]
            tool_times = latencies(lines, VK_Q, VK_NUMPAD8)
            reference_times = latencies(lines, VK_W, VK_NUMPAD9)
            plain_q = sum(1 for line in lines if line.startswith("msg down vk=81 "))

            log(f"idling {IDLE_SECONDS:.0f} s")
            before = {"tool": usage(tool.process.pid), "reference": usage(reference.pid)}
            time.sleep(IDLE_SECONDS)
            after = {"tool": usage(tool.process.pid), "reference": usage(reference.pid)}
        finally:
            if reference and reference.poll() is None:
                os.killpg(reference.pid, signal.SIGKILL)
                reference.wait(30)

    report(tool_times, reference_times, plain_q, before, after)


def fields(line):
    return dict(item.split("=", 1) for item in line.split()[2:])


def count_downs(lines, vk):
    return sum(1 for line in lines if line.startswith(f"ll down vk={vk} injected=1 "))


def latencies(lines, source, target):
    """Microseconds from each physical key-down of source to the next injected key-down of target."""
    out = []
    pending = None
    for line in lines:
        if not line.startswith("ll down "):
            continue
        f = fields(line)
        vk, injected, t = int(f["vk"]), f["injected"] == "1", int(f["t"])
        if vk == source and not injected:
            pending = t
        elif vk == target and injected and pending is not None:
            out.append(t - pending)
            pending = None
    return out


def usage(pid):
    """CPU seconds and voluntary context switches (wakeups) of a process, over all its threads."""
    ticks = os.sysconf("SC_CLK_TCK")
    with open(f"/proc/{pid}/stat") as f:
        parts = f.read().rsplit(")", 1)[1].split()
    cpu = (int(parts[11]) + int(parts[12])) / ticks
    wakeups = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        wakeups += int(line.split()[1])
        except FileNotFoundError:
            pass
    return cpu, wakeups


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100 * (len(ordered) - 1))))]


def report(tool_times, reference_times, plain_q, before, after):
    if not tool_times or not reference_times:
        raise AssertionError(f"no latencies measured (tool {len(tool_times)}, reference {len(reference_times)})")
    print(f"presses_tool: {len(tool_times)}")
    print(f"presses_reference: {len(reference_times)}")
    print(f"plain_q_reaching_witness: {plain_q}")
    for name, values in (("tool", tool_times), ("reference", reference_times)):
        print(f"{name}_median_us: {statistics.median(values):.0f}")
        print(f"{name}_p99_us: {percentile(values, 99):.0f}")
    for name in ("tool", "reference"):
        cpu = after[name][0] - before[name][0]
        print(f"{name}_idle_cpu_ms_per_{IDLE_SECONDS:.0f}s: {cpu * 1000:.0f}")
        print(f"{name}_idle_wakeups_per_{IDLE_SECONDS:.0f}s: {after[name][1] - before[name][1]}")
    print(f"p99_ratio: {percentile(tool_times, 99) / percentile(reference_times, 99):.2f}")
    print(f"median_ratio: {statistics.median(tool_times) / statistics.median(reference_times):.2f}")


if __name__ == "__main__":
    main()
