"""The start-up version check of the real tool: served "1.0" the window comes up; anything
else (or no server) gives the update prompt and the main window never shows. Cancel ends
the tool with code 0 and opens nothing; OK asks the shell to open the home page.

The shell's "open" on an http address runs Wine's winebrowser, which tries the programs
listed in HKCU\\Software\\Wine\\WineBrowser "Browsers"; for this test that list is a script
that records its argument, so no browser starts and the opened address is observable.
"""
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tarvok_e2e import (TITLE, SiteServer, Tool, check, parse_args, site_address, site_answers, wine_env,  # noqa: E402
                        xdo)

PROMPT_CAPTION = "信息："
BROWSER_KEY = r"HKCU\Software\Wine\WineBrowser"


def visible(name):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                       capture_output=True, text=True, timeout=60)
    return r.stdout.split()


def wait_visible(name, proc, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        ids = visible(name)
        if ids:
            return ids[0]
        if proc.poll() is not None:
            return None
        time.sleep(0.2)
    return None


class WindowWatch:
    """Watches, until the process ends, whether a window with this title ever becomes visible."""

    def __init__(self, name, proc):
        self.seen = False
        self.thread = threading.Thread(target=self._run, args=(name, proc), daemon=True)
        self.thread.start()

    def _run(self, name, proc):
        deadline = time.time() + 120
        while proc.poll() is None and time.time() < deadline:
            if visible(name):
                self.seen = True
            time.sleep(0.1)

    def join(self):
        self.thread.join(130)
        return self.seen


def wine_reg(*args):
    return subprocess.run(["wine", "reg", *args], env=wine_env(), capture_output=True, timeout=120)


class BrowserRecorder:
    """Points Wine's browser list at a script that appends what it is asked to open to a file."""

    def __init__(self, out):
        self.record = os.path.join(out, "opened.txt")
        self.script = os.path.join(out, "record-browser.sh")
        with open(self.script, "w") as f:
            f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + self.record + "'\n")
        os.chmod(self.script, 0o755)
        r = wine_reg("query", BROWSER_KEY, "/v", "Browsers")
        self.saved = None
        if r.returncode == 0:
            for line in r.stdout.decode("gbk", "replace").splitlines():
                parts = line.split(None, 2)
                if len(parts) == 3 and parts[0] == "Browsers":
                    self.saved = parts[2]
        wine_reg("add", BROWSER_KEY, "/v", "Browsers", "/t", "REG_SZ", "/d", self.script, "/f")

    def clear(self):
        if os.path.exists(self.record):
            os.remove(self.record)

    def opened(self, wait=0.0):
        deadline = time.time() + wait
        while True:
            if os.path.exists(self.record):
                with open(self.record) as f:
                    lines = [line.strip() for line in f if line.strip()]
                if lines:
                    return lines
            if time.time() >= deadline:
                return []
            time.sleep(0.2)

    def restore(self):
        if self.saved is None:
            wine_reg("delete", BROWSER_KEY, "/v", "Browsers", "/f")
        else:
            wine_reg("add", BROWSER_KEY, "/v", "Browsers", "/t", "REG_SZ", "/d", self.saved, "/f")


def start_tool(exe):
    # The site is this test's own; the tool must not get a default one.
    return Tool(exe, site_version=None)


def served_current(a, port):
    log = os.path.join(a.out, "requests-current.jsonl")
    site = SiteServer(port, "1.0", log=log)
    try:
        tool = start_tool(a.exe)
        window = wait_visible(TITLE, tool.proc, 30)
        check(window is not None, 'served "1.0": the main window shows')
        check(not visible(PROMPT_CAPTION), 'served "1.0": no update prompt')
        tool.window = window
        tool.screenshot(os.path.join(a.out, "current.png"))
        requests = site.requests()
        check(len(requests) == 1 and requests[0]["requestline"] == "GET /tarvokdiy.txt HTTP/1.0",
              f"one HTTP/1.0 GET of the version file ({[r['requestline'] for r in requests]})")
        headers = {k.lower(): v for k, v in requests[0]["headers"]} if requests else {}
        check(headers.get("user-agent") == "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
              f"the tool's user agent ({headers.get('user-agent')})")
        code = tool.close()
        check(code == 0, f"Esc on the main window ends the tool with code 0 (got {code})")
    finally:
        site.stop()


def prompt_case(a, port, name, body, press, recorder):
    """Starts the tool against body (None: no server) and answers the prompt with press."""
    site = SiteServer(port, body=body) if body is not None else None
    recorder.clear()
    try:
        tool = start_tool(a.exe)
        watch = WindowWatch(TITLE, tool.proc)
        started = time.time()
        box = wait_visible(PROMPT_CAPTION, tool.proc, 60)
        check(box is not None, f"{name}: the update prompt appears")
        check(not visible(TITLE), f"{name}: the main window is not shown while the prompt is up")
        tool.screenshot(os.path.join(a.out, f"prompt-{name}.png"))
        xdo("windowfocus", "--sync", box)
        xdo("key", press)
        try:
            code = tool.proc.wait(30)
        except subprocess.TimeoutExpired:
            tool.proc.kill()
            code = None
        check(code == 0, f"{name}: {press} ends the tool with code 0 (got {code})")
        check(not watch.join(), f"{name}: the main window never showed")
        print(f"   ({name}: prompt after {time.time() - started:.1f} s)")
        return tool
    finally:
        if site:
            site.stop()


def main():
    a = parse_args()
    host, port = site_address(a.exe)
    check(host in ("127.0.0.1", "localhost"), f"the exe's site is on loopback ({host}:{port})")
    home = f"http://127.0.0.1:{port}"

    served_current(a, port)

    recorder = BrowserRecorder(a.out)
    try:
        # Cancel: nothing is opened.
        for name, body in [("newer", b"2.0"), ("line-end", b"1.0\r\n"), ("no-server", None)]:
            if body is None and site_answers(port) is not None:
                print(f"skipped: {name}: something else answers on port {port}")
                continue
            prompt_case(a, port, name, body, "Escape", recorder)
            time.sleep(1)
            check(recorder.opened() == [], f"{name}: Cancel opens nothing")

        # OK: the home page is handed to the browser.
        prompt_case(a, port, "ok", b"2.0", "Return", recorder)
        opened = recorder.opened(wait=20)
        check([u.rstrip("/") for u in opened] == [home], f"OK opens the home page {home} ({opened})")
    finally:
        recorder.restore()


if __name__ == "__main__":
    main()
