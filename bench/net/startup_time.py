#!/usr/bin/env python3
"""Time from starting tavrik.exe to its window being shown, for three states of the publisher's
server, in one run: refusing connections, answering normally, and accepting but never answering
(four fetches of about one second each are expected then).

    bench/net/startup_time.py [WIN_BUILD_DIR] [LOOPBACK_TAVRIK_EXE]

WIN_BUILD_DIR is a 64-bit Windows build (default build/win64) with the probe. The exe must be
built with TAVRIK_PUBLISHER_HOST=127.0.0.1:47831; by default a 64-bit one is built here in
build/win64-loopback, since a 32-bit process runs emulated on a machine without 32-bit support
and its start would measure the emulator. Prints "name: value" lines; the last is the start-up
with a silent server, the case the fetch time-outs exist for.
"""

import os
import socket
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "win64"))
os.environ["TAVRIK_BUILD"] = BUILD
os.environ.setdefault("TAVRIK_ROOT", ROOT)
SESSION = os.path.join(ROOT, "tests", "harness", "wine-session")
PORT = 47831
RUNS = int(os.environ.get("TAVRIK_BENCH_RUNS", "3"))


def loopback_exe():
    if len(sys.argv) > 2:
        return os.path.abspath(sys.argv[2])
    out = os.path.join(ROOT, "build", "win64-loopback")
    subprocess.run(["cmake", "-S", ROOT, "-B", out, "-G", "Ninja",
                    "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(ROOT, "cmake", "mingw-x86_64.cmake"),
                    "-DTAVRIK_BUILD_TESTS=OFF", f"-DTAVRIK_PUBLISHER_HOST=127.0.0.1:{PORT}"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["ninja", "-C", out, "tavrik"], check=True, stdout=subprocess.DEVNULL)
    return os.path.join(out, "src", "tavrik.exe")


class Server:
    """A loopback server that answers every request with "1.0", or accepts and never answers."""

    def __init__(self, answer):
        self.answer = answer
        self.sock = socket.socket()
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind(("127.0.0.1", PORT))
        self.sock.listen(16)
        self.open = []
        self.running = True
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        self.sock.settimeout(0.2)
        while self.running:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                continue
            self.open.append(conn)
            if self.answer:
                conn.recv(65536)
                conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 3\r\nConnection: close\r\n\r\n1.0")
                conn.close()

    def close(self):
        self.running = False
        self.thread.join()
        for conn in self.open:
            conn.close()
        self.sock.close()


def main():
    exe = loopback_exe()
    subprocess.run([SESSION, "start", BUILD], check=True)
    try:
        sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
        from tavrik_e2e import WM_CLOSE, Tool  # noqa: E402  (needs the session's environment)

        def one_start():
            tool = Tool(exe=exe)
            began = time.monotonic()
            tool.start()
            shown = time.monotonic() - began
            tool.post(WM_CLOSE)
            tool.wait_exit(60)
            tool.__exit__(None, None, None)
            return shown

        figures = {}
        for name, answer in (("refusing", None), ("answering", True), ("silent", False)):
            times = []
            for _ in range(RUNS):
                server = Server(answer) if answer is not None else None
                try:
                    times.append(one_start())
                finally:
                    if server:
                        server.close()
            figures[name] = statistics.median(times)
        print(f"runs_each: {RUNS}")
        print(f"startup_refusing_s: {figures['refusing']:.2f}")
        print(f"startup_answering_s: {figures['answering']:.2f}")
        print(f"startup_silent_s: {figures['silent']:.2f}")
    finally:
        subprocess.run([SESSION, "stop", BUILD])


if __name__ == "__main__":
    main()
