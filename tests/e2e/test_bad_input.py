"""Bad input against the real program: damaged, truncated, lying and enormous pictures chosen
through the real open dialog, and a version server that misbehaves. For each case: what the
user sees, that the tool is still alive (or ended with code 0 where it must end), and that no
file was changed. Writes a table of outcomes to matrix.md in the --out folder."""
import hashlib
import io
import os
import random
import socket
import struct
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from PIL import Image  # noqa: E402

import tarvok_e2e as e2e  # noqa: E402
from test_save_card import CHOOSE_PICTURE, wait_for_window, windows_path  # noqa: E402

OPEN_TITLE = "打开"
PORTRAIT_AREA = (9 + 30, 14 + 80, 9 + 300, 14 + 290)  # client coords inside the frame's window


def sample_picture():
    img = Image.new("RGB", (305, 400))
    px = img.load()
    for y in range(400):
        for x in range(305):
            px[x, y] = ((x * 5) % 256, (y * 3) % 256, 160)
    return img


def encoded(img, fmt, **kw):
    b = io.BytesIO()
    img.save(b, fmt, **kw)
    return b.getvalue()


def flipped(data, seed, keep=32):
    r = random.Random(seed)
    out = bytearray(data)
    for _ in range(max(8, len(data) // 100)):
        i = r.randrange(keep, len(out))
        out[i] ^= 1 << r.randrange(8)
    return bytes(out)


def huge_bmp():
    info = struct.pack("<IiiHHIIiiII", 40, 65535, 65535, 1, 24, 0, 0, 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + 64, 0, 0, 54) + info + bytes(64)


def huge_pcx():
    header = struct.pack("<BBBBHHHH", 0x0A, 5, 1, 8, 0, 0, 65534, 65534) + bytes(116)
    return header[:128] + bytes(64)


def huge_jpeg(small):
    # Rewrite the frame header's size fields (SOF0: FF C0 len P Y X).
    at = small.index(b"\xff\xc0")
    return small[:at + 5] + struct.pack(">HH", 65500, 65500) + small[at + 9:]


def cursor_from_icon(ico):
    # A cursor file is an icon file with type 2 and a hot spot in place of planes/bit count.
    return ico[:2] + b"\x02\x00" + ico[4:10] + struct.pack("<HH", 1, 1) + ico[14:]


def choose_in_dialog(path):
    """Pastes path into the open dialog's name box (xdotool cannot type CJK text) and accepts.
    True when the dialog closed."""
    dialog = wait_for_window(OPEN_TITLE)
    e2e.check(dialog is not None, "the open dialog opened")
    e2e.set_clipboard(path)
    e2e.xdo("windowfocus", "--sync", dialog)
    time.sleep(0.2)
    e2e.xdo("key", "End", "shift+Home", "BackSpace", "ctrl+v")
    time.sleep(0.3)
    e2e.xdo("key", "Return")
    deadline = time.time() + 10
    while time.time() < deadline and wait_for_window(OPEN_TITLE, 0.2):
        time.sleep(0.2)
    if wait_for_window(OPEN_TITLE, 0.2):
        e2e.xdo("key", "Escape")
        return False
    return True


def picture_cases(folder):
    img = sample_picture()
    jpeg = encoded(img, "JPEG", quality=90)
    bmp = encoded(img, "BMP")
    gif = encoded(img.convert("P"), "GIF")
    ico = encoded(img.resize((64, 64)), "ICO", sizes=[(64, 64)])
    pcx = encoded(img.convert("P"), "PCX")
    png = encoded(img, "PNG")
    cases = [
        ("a good JPEG", "good.jpg", jpeg, "picture"),
        ("a path with spaces and Chinese characters", "卡牌 图片 文件.jpg", jpeg, "picture"),
        ("a 0-byte file", "empty.jpg", b"", "background"),
        ("a PNG renamed .jpg", "png-named.jpg", png, "background"),
        ("a 65535 x 65535 BMP header", "huge.bmp", huge_bmp(), "background"),
        ("a 65535 x 65535 PCX header", "huge.pcx", huge_pcx(), "background"),
        ("a 65500 x 65500 JPEG header", "huge.jpg", huge_jpeg(jpeg), "background"),
    ]
    for kind, data in (("JPEG", jpeg), ("BMP", bmp), ("GIF", gif), ("ICO", ico), ("CUR", cursor_from_icon(ico)),
                       ("PCX", pcx)):
        ext = kind.lower()
        cases.append((f"a truncated {kind}", f"truncated.{ext}", data[:len(data) * 2 // 5], "any"))
        cases.append((f"a bit-flipped {kind}", f"flipped.{ext}", flipped(data, len(kind)), "any"))
    for _, name, data, _ in cases:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return cases


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def portrait_region(tool, out, name):
    img = tool.client_image(os.path.join(out, name))
    return img.crop(PORTRAIT_AREA)


def differs(a, b):
    pa, pb = a.load(), b.load()
    return sum(1 for y in range(0, a.height, 3) for x in range(0, a.width, 3) if pa[x, y] != pb[x, y])


def alive(tool):
    if tool.proc.poll() is not None:
        return False
    r = subprocess.run(["xdotool", "getwindowname", tool.window], capture_output=True, text=True)
    return r.returncode == 0


def run_pictures(exe, out, rows):
    folder = os.path.join(out, "pictures")
    os.makedirs(folder, exist_ok=True)
    cases = picture_cases(folder)
    before = {name: digest(os.path.join(folder, name)) for _, name, _, _ in cases}
    tool = e2e.Tool(exe)
    e2e.check(tool.wait_window() is not None, "the tool starts")
    tool.focus()
    background = portrait_region(tool, out, "start.png")
    # A good picture first, then each case: what shows is what that case left.
    for i, (what, name, _, expect) in enumerate(cases):
        case_started = time.time()
        tool.click(*CHOOSE_PICTURE)
        accepted = choose_in_dialog(windows_path(os.path.join(folder, name)))
        e2e.check(accepted, f"{what}: the dialog took the path")
        time.sleep(0.8)
        ok_alive = alive(tool)
        shown = "picture" if ok_alive and differs(portrait_region(tool, out, f"case-{i:02}.png"), background) > 50 \
            else "background"
        outcome = "ok" if ok_alive and expect in ("any", shown) else "FAIL"
        rows.append((what, f"the portrait box shows the {shown}", "alive" if ok_alive else "GONE", outcome))
        print(f"   ({time.time() - case_started:.1f} s)")
        e2e.check(ok_alive, f"{what}: the tool is alive")
        e2e.check(expect in ("any", shown), f"{what}: shows the {shown} (expected {expect})")
        if not ok_alive:
            return
    e2e.check(all(digest(os.path.join(folder, n)) == d for n, d in before.items()), "no picture file was changed")
    code = tool.close()
    e2e.check(code == 0, f"the tool ends with code 0 after the pictures ({code})")


class MisbehavingServer:
    """A loopback server that answers every connection in one bad way."""

    def __init__(self, port, behaviour):
        self.behaviour = behaviour
        self.sock = socket.socket()
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        deadline = time.time() + 15
        while True:
            try:
                self.sock.bind(("127.0.0.1", port))
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.3)
        self.sock.listen(8)
        self.sock.settimeout(0.5)
        self.stopped = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        deadline = time.time() + 120
        while not self.stopped and time.time() < deadline:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                continue
            threading.Thread(target=self.answer, args=(conn,), daemon=True).start()

    def answer(self, conn):
        try:
            conn.settimeout(5)
            conn.recv(4096)
            if self.behaviour == "slow":
                time.sleep(4)
                conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n1.0")
            elif self.behaviour == "reset":
                conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            elif self.behaviour == "huge":
                conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n1.0")
                chunk = b"x" * 65536
                for _ in range(160):  # 10 MB
                    conn.sendall(chunk)
        except OSError:
            pass
        finally:
            conn.close()

    def stop(self):
        self.stopped = True
        self.thread.join(5)
        self.sock.close()


def run_server_case(exe, out, rows, what, behaviour, expect_window):
    _, port = e2e.site_address(exe)
    # Another run's site may still be going away on this port: nothing may answer here.
    deadline = time.time() + 30
    while e2e.site_answers(port, 0.5) is not None and time.time() < deadline:
        time.sleep(0.5)
    server = MisbehavingServer(port, behaviour) if behaviour != "refused" else None
    started = time.time()
    tool = e2e.Tool(exe, site_version=None)
    if expect_window:
        seen = tool.wait_window(60) is not None
        e2e.check(seen, f"{what}: the main window appears")
        rows.append((what, "the tool starts normally", "alive", "ok" if seen else "FAIL"))
        tool.close()
    else:
        prompt = None
        deadline = time.time() + 60
        while time.time() < deadline and tool.proc.poll() is None and not prompt:
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "信息"], capture_output=True,
                               text=True)
            prompt = r.stdout.split()[0] if r.stdout.split() else None
            time.sleep(0.3)
        e2e.check(prompt is not None, f"{what}: the update prompt shows ({time.time() - started:.1f} s)")
        main_seen = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", e2e.TITLE], capture_output=True,
                                   text=True).stdout.strip()
        e2e.check(not main_seen, f"{what}: the main window never shows")
        e2e.xdo("windowfocus", "--sync", prompt)
        e2e.xdo("key", "Escape")
        try:
            code = tool.proc.wait(20)
        except subprocess.TimeoutExpired:
            code = None
        e2e.check(code == 0, f"{what}: Cancel ends the tool with code 0 ({code})")
        rows.append((what, "the update prompt; Cancel ends the tool", f"exit {code}", "ok" if code == 0 else "FAIL"))
    if server:
        server.stop()


def main():
    args = e2e.parse_args()
    out = os.path.abspath(args.out)
    rows = []
    try:
        if not os.environ.get("TARVOK_SKIP_PICTURES"):
            run_pictures(args.exe, out, rows)
        run_server_case(args.exe, out, rows, "a version server that answers after 4 s", "slow", True)
        run_server_case(args.exe, out, rows, "a version server that refuses", "refused", False)
        run_server_case(args.exe, out, rows, "a version server that resets", "reset", False)
        run_server_case(args.exe, out, rows, "a version server that sends 10 MB", "huge", False)
    finally:
        with open(os.path.join(out, "matrix.md"), "w", encoding="utf-8") as f:
            f.write("| case | what the user sees | process | outcome |\n|---|---|---|---|\n")
            for row in rows:
                f.write("| " + " | ".join(row) + " |\n")
        print(open(os.path.join(out, "matrix.md"), encoding="utf-8").read())


if __name__ == "__main__":
    main()
