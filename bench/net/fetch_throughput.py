#!/usr/bin/env python3
"""Fetch throughput: a 64 MB body from a loopback server through HttpFetcher::fetch (the 64-bit
fetch_bench under Wine) against curl on the same server, in the same run.

    TAVRIK_BUILD=<win64 build dir> [TAVRIK_WINEPREFIX=...] bench/net/fetch_throughput.py [runs]

Prints name: value lines; the last is the ratio of the fetch's time to curl's (goal: within 2).
The fetch time excludes Wine's process start: fetch_bench times the call itself."""
import http.server
import os
import statistics
import subprocess
import sys
import threading
import time

SIZE = 64 << 20
BODY = bytes((i * 7) & 0xFF for i in range(1 << 16)) * (SIZE >> 16)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Length", str(SIZE))
        self.send_header("Connection", "close")
        self.end_headers()
        view = memoryview(BODY)
        for at in range(0, SIZE, 1 << 20):
            self.wfile.write(view[at:at + (1 << 20)])

    def log_message(self, *args):
        pass


def wine_env():
    build = os.environ["TAVRIK_BUILD"]
    here = os.path.dirname(os.path.abspath(__file__))
    script = os.path.join(here, "..", "..", "tests", "harness", "wine-env")
    out = subprocess.run(["bash", "-c", f'. "{script}" && env -0'], env=dict(os.environ, TAVRIK_BUILD=build),
                         capture_output=True, check=True).stdout
    return dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 3
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/big"
    env = wine_env()
    exe = os.path.join(os.environ["TAVRIK_BUILD"], "bench", "net", "fetch_bench.exe")

    curl_times, fetch_times, peaks = [], [], []
    for _ in range(runs):
        start = time.monotonic()
        subprocess.run(["curl", "-s", "-o", "/dev/null", url], check=True)
        curl_times.append(time.monotonic() - start)
        out = subprocess.run([env["WINE64"], exe, url], env=env, capture_output=True, text=True).stdout
        values = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
        if int(values.get("fetch_bytes", "0")) != SIZE:
            print(f"fetch_failed: {out!r}", file=sys.stderr)
            return 1
        fetch_times.append(float(values["fetch_seconds"]))
        peaks.append(float(values["fetch_peak_private_mb"]))
    server.shutdown()
    curl = statistics.median(curl_times)
    fetch = statistics.median(fetch_times)
    print(f"curl_seconds: {curl:.3f}")
    print(f"fetch_seconds: {fetch:.3f}")
    print(f"fetch_peak_private_mb: {max(peaks):.1f}")
    print(f"fetch_to_curl_ratio: {fetch / curl:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
