"""Shared helpers for the end-to-end tests: the real tarvokdiy.exe under Wine, driven with xdotool."""
import argparse
import os
import subprocess
import sys
import time

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TITLE = "Tarvok卡牌DIY工具 v1.0"
# With Wine drawing its own frame, the client area starts this far into the window.
CLIENT_OFFSET = (4, 24)


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


class Tool:
    """One running tarvokdiy.exe and its main window."""

    def __init__(self, exe, cwd=None):
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


def check(cond, message):
    if not cond:
        print("FAIL:", message)
        sys.exit(1)
    print("ok:", message)
