"""Shared helpers for the end-to-end tests: the real tarvokdiy.exe under Wine, driven with xdotool."""
import argparse
import json
import os
import re
import select
import subprocess
import sys
import time

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TITLE = "Tarvok卡牌DIY工具 v1.0"
# With Wine drawing its own fixed dialog frame, the client area starts this far into the window.
CLIENT_OFFSET = (3, 22)


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--exe", required=True)
    p.add_argument("--out", required=True)
    a = p.parse_args()
    os.makedirs(a.out, exist_ok=True)
    return a


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    if os.environ.get("TARVOK_WINEPREFIX"):
        env["WINEPREFIX"] = os.environ["TARVOK_WINEPREFIX"]
    env.update(WINEARCH="win64", WINEDEBUG="-all", LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8",
               WINEDLLOVERRIDES="winedbg.exe=d;mshtml=d;mscoree=d")
    return env


def xdo(*args, check=True):
    r = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=60)
    if check and r.returncode != 0:
        raise RuntimeError(f"xdotool {args}: {r.stderr}")
    return r.stdout.strip()


def site_address(exe):
    """(host, port) of the maker's site the exe was built for, read from its version URL.

    Falls back to TARVOK_SITE_PORT (or 8642) on 127.0.0.1 when the exe holds no such URL.
    """
    with open(exe, "rb") as f:
        m = re.search(rb"http://([A-Za-z0-9.\-]+)(?::([0-9]+))?/tarvokdiy\.txt", f.read())
    if m:
        return m.group(1).decode(), int(m.group(2) or 80)
    return "127.0.0.1", int(os.environ.get("TARVOK_SITE_PORT", "8642"))


def site_answers(port, timeout=1.0):
    """The version text served on 127.0.0.1:port, or None when nothing answers."""
    import urllib.request
    try:
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/tarvokdiy.txt", timeout=timeout) as r:
            return r.read()
    except OSError:
        return None


class SiteServer:
    """tools/site_server.py on loopback, for one test; it also stops by itself."""

    def __init__(self, port, version="1.0", body=None, log=None, lifetime=180):
        args = ["/usr/bin/python3", os.path.join(ROOT, "tools", "site_server.py"),
                "--port", str(port), "--version", version, "--lifetime", str(lifetime)]
        if body is not None:
            self.body_file = (log or f"/tmp/tarvok-site-{os.getpid()}") + ".body"
            with open(self.body_file, "wb") as f:
                f.write(body)
            args += ["--body-file", self.body_file]
        self.log = log
        if log:
            open(log, "w").close()
            args += ["--log", log]
        self.port = port
        # The port may still be held by another run's server for a moment: retry a while.
        deadline = time.time() + 30
        while True:
            self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            ready, _, _ = select.select([self.proc.stdout], [], [], 10)
            line = self.proc.stdout.readline() if ready else ""
            if line.startswith("listening"):
                break
            self.stop()
            if time.time() > deadline:
                raise RuntimeError(f"site server could not listen on port {port}")
            time.sleep(0.5)
        if site_answers(port, 5) is None:
            self.stop()
            raise RuntimeError(f"site server on port {port} does not answer")
        # The check above was a request too; only the tool's own count.
        if log:
            open(log, "w").close()

    def requests(self):
        if not self.log or not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class Tool:
    """One running tarvokdiy.exe and its main window.

    The tool checks its version against the maker's site at start; unless site_version is
    None, a site serving that version is started on the exe's loopback port when none answers.
    """

    def __init__(self, exe, cwd=None, site_version="1.0"):
        self.site = None
        host, port = site_address(exe)
        if site_version is not None and host in ("127.0.0.1", "localhost"):
            # Another run's site may hold the port for a moment; use it only when it serves
            # the wanted version, else wait for it to go and serve our own.
            deadline = time.time() + 30
            served = site_answers(port)
            while served is not None and served != site_version.encode() and time.time() < deadline:
                time.sleep(0.5)
                served = site_answers(port)
            if served != site_version.encode():
                self.site = SiteServer(port, site_version)
        self.proc = subprocess.Popen(["wine", exe], env=wine_env(), cwd=cwd,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.window = None

    def wait_window(self, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.proc.poll() is not None:
                return None
            r = subprocess.run(["xdotool", "search", "--name", TITLE], capture_output=True, text=True)
            ids = r.stdout.split()
            if ids:
                self.window = ids[0]
                time.sleep(0.5)
                return self.window
            time.sleep(0.2)
        return None

    def origin(self):
        """Screen position of the client area's top-left corner."""
        out = xdo("getwindowgeometry", "--shell", self.window)
        vals = dict(line.split("=") for line in out.splitlines() if "=" in line)
        return int(vals["X"]) + CLIENT_OFFSET[0], int(vals["Y"]) + CLIENT_OFFSET[1]

    def focus(self):
        xdo("windowfocus", "--sync", self.window)

    def click(self, x, y, button=1):
        """Clicks at client coordinates of the main window."""
        ox, oy = self.origin()
        xdo("mousemove", ox + x, oy + y)
        time.sleep(0.05)
        xdo("click", button)
        time.sleep(0.2)

    def key(self, *keys):
        xdo("key", "--delay", "40", *keys)
        time.sleep(0.2)

    def type(self, text):
        xdo("type", "--delay", "40", text)
        time.sleep(0.3)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=True, timeout=60)
        return Image.open(path).convert("RGB")

    def client_image(self, path):
        """The main window's client area, as on screen."""
        img = self.screenshot(path)
        ox, oy = self.origin()
        return img.crop((ox, oy, ox + 590, oy + 538))

    def close(self, timeout=20):
        if self.proc.poll() is None and self.window:
            try:
                self.focus()
                self.key("Escape")
            except RuntimeError:
                pass
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            return None
        finally:
            if self.site:
                self.site.stop()


def set_clipboard(text):
    """Puts text on the X clipboard (xdotool cannot type CJK text; paste it instead). xclip
    stays behind to serve the selection, so it must not hold our caller's output pipes."""
    subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode("utf-8"), check=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def check(cond, message):
    if not cond:
        print("FAIL:", message)
        sys.exit(1)
    print("ok:", message)
