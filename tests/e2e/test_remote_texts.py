"""The real tavrik.exe, built against a publisher server on this machine's loopback address, with
our own server answering the four texts and Wine's browser launcher writing down every address
the tool hands to the shell. Each step starts the tool once."""

import http.server
import os
import threading
import time
import unittest

from tavrik_e2e import BUILD, ENV, WM_CLOSE, Tool, gbk, probe, wait_for

PORT = int(os.environ.get("TAVRIK_LOOPBACK_PORT", "47831"))
HOST = f"127.0.0.1:{PORT}"
EXE = os.environ.get("TAVRIK_LOOPBACK_EXE", os.path.join(os.path.dirname(BUILD), "win-loopback", "src", "tavrik.exe"))
BROWSER_LOG = os.path.join(BUILD, "session", "browser.log")
HOME = f"http://{HOST}"
IDYES, IDNO = 6, 7

UPDATE_TEXT = gbk("发现版本更新 点击是下载更新！否暂不更新")
UPDATE_CAPTION = gbk("发现更新！")


class Publisher(http.server.BaseHTTPRequestHandler):
    texts = {}

    def do_GET(self):
        body = self.texts.get(self.path)
        if body is None:
            self.send_response(404)
            body = b"not here"
        else:
            self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class Server:
    def __init__(self, texts):
        Publisher.texts = texts
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", PORT), Publisher)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()


def opened_since(mark):
    try:
        with open(BROWSER_LOG, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n") for line in f][mark:]
    except FileNotFoundError:
        return []


def log_mark():
    return len(opened_since(0))


def dialog():
    code, out = probe("dialog")
    return out if code == 0 else None


def texts(version, exit_page=f"http://{HOST}/bye.htm", download=f"http://{HOST}/get.htm", ad=f"http://{HOST}/ad.htm"):
    return {"/omra/omra2ver.txt": version, "/omra/tc.txt": exit_page.encode(), "/omra/down2.txt": download.encode(),
            "/omra/ad.txt": ad.encode()}


class RemoteTexts(unittest.TestCase):
    def start(self, keep_ini=None):
        tool = Tool(exe=EXE)
        if keep_ini is not None:
            with open(os.path.join(tool.run_dir, "key.ini"), "wb") as f:
                f.write(keep_ini)
        return tool.start()

    def test_newer_version_and_yes_opens_home_download_and_exit_page_without_saving(self):
        ini = b"[key]\r\n1=abc\r\n[keys]\r\n1=65\r\n"
        mark = log_mark()
        with Server(texts(b"1.6\r\n")):
            with self.start(keep_ini=ini) as tool:
                question = wait_for(dialog, 60, what="the update question")
                self.assertIn("yes=1 no=1", question)
                self.assertIn("text=" + UPDATE_TEXT.hex().upper(), question)
                self.assertIn("caption=" + UPDATE_CAPTION.hex().upper(), question)
                probe("answer", IDYES)
                # Each address goes to Wine's browser launcher, a process of its own that needs a
                # minute to start where 32-bit code is emulated, and the shell waits for it.
                self.assertEqual(tool.wait_exit(600), 0)
                with open(os.path.join(tool.run_dir, "key.ini"), "rb") as f:
                    self.assertEqual(f.read(), ini)
        opened = wait_for(lambda: (lambda o: o if len(o) >= 3 else None)(opened_since(mark)), 300,
                          what="three pages opened")
        # Wine starts one browser launcher per address and they race, so the log shows which
        # finished first, not the order the tool handed them over (the unit tests pin that).
        # Wine's launcher also ends a bare host with "/".
        self.assertEqual(sorted(a.rstrip("/") for a in opened), sorted([HOME, f"http://{HOST}/bye.htm",
                                                                          f"http://{HOST}/get.htm"]))

    def test_newer_version_and_no_runs_on_and_the_exit_page_opens_once_at_close(self):
        mark = log_mark()
        with Server(texts(b"1.6")):
            with self.start() as tool:
                wait_for(dialog, 60, what="the update question")
                probe("answer", IDNO)
                wait_for(lambda: dialog() is None, 30, what="the question to close")
                self.assertIsNone(tool.process.poll())
                self.assertEqual(opened_since(mark), [])
                self.assertTrue(tool.post(WM_CLOSE))
                self.assertEqual(tool.wait_exit(600), 0)
                self.assertTrue(os.path.exists(os.path.join(tool.run_dir, "key.ini")))
        opened = wait_for(lambda: opened_since(mark) or None, 300, what="the exit page")
        time.sleep(5)  # a second opening would have been logged by now
        self.assertEqual(opened_since(mark), [f"http://{HOST}/bye.htm"])

    def test_same_version_offers_nothing_and_local_addresses_are_never_launched(self):
        mark = log_mark()
        with Server(texts(b"1.52", exit_page="C:\\windows\\notepad.exe", ad="file:///C:/windows/notepad.exe")):
            with self.start() as tool:
                time.sleep(2)  # the question would be up by now: it comes at the first activation
                self.assertIsNone(dialog())
                self.assertTrue(tool.post(WM_CLOSE))
                self.assertEqual(tool.wait_exit(120), 0)
        self.assertEqual(opened_since(mark), [])

    def test_server_down_offers_nothing_and_opens_nothing(self):
        mark = log_mark()
        with self.start() as tool:
            self.assertEqual(tool.window_fields()["visible"], "1")
            self.assertIsNone(dialog())
            self.assertTrue(tool.post(WM_CLOSE))
            self.assertEqual(tool.wait_exit(120), 0)
        self.assertEqual(opened_since(mark), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
