"""Choose a portrait and save the card through the real dialogs; check the saved file's bytes
and pixels; a read-only card survives a second save, and the user is told."""
import hashlib
import json
import os
import stat
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from PIL import Image  # noqa: E402

import tarvok_e2e as e2e  # noqa: E402

# Client coordinates of the controls used (parent group box + control's place), at their centre.
CHOOSE_PICTURE = (352 + 158 + 32, 7 + 18 + 10)
TITLE_EDIT = (353 + 53 + 50, 63 + 15 + 10)
SKILL1_NOTE_EDIT = (353 + 82 + 63, 227 + 46 + 23)
CAMP_COMBO = (353 + 53 + 31, 63 + 126 + 10)
SAVE_BUTTON = (354 + 113, 477 + 13)
CANVAS = (9, 14, 336, 487)  # left, top, width, height in the client area

PORTRAIT_RGB = (30, 160, 230)
LAYOUT = json.load(open(os.path.join(e2e.ROOT, "assets", "frame-layout.json"), encoding="utf-8"))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for_window(name, timeout=15):
    """The X window whose title is exactly name, or None."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], capture_output=True, text=True)
        ids = r.stdout.split()
        if ids:
            time.sleep(0.3)
            return ids[-1]
        time.sleep(0.2)
    return None


def fill_file_dialog(title, path):
    """Types path into the named file dialog's name box (replacing what is there) and accepts."""
    dialog = wait_for_window(title)
    e2e.check(dialog is not None, f"the '{title}' dialog opened")
    e2e.xdo("windowfocus", "--sync", dialog)
    time.sleep(0.2)
    e2e.xdo("key", "End", "shift+Home", "BackSpace")
    e2e.xdo("type", "--delay", "20", path)
    time.sleep(0.2)
    e2e.xdo("key", "Return")
    deadline = time.time() + 10
    while time.time() < deadline and wait_for_window(title, 0.2):
        time.sleep(0.2)


def wait_gone(title, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if wait_for_window(title, 0.1) is None:
            return True
        time.sleep(0.2)
    return False


def dismiss(box, title):
    """Presses the message box's one button, at the middle of its bottom edge; tried again
    when the box is still up after a while."""
    geometry = dict(line.split("=") for line in e2e.xdo("getwindowgeometry", "--shell", box).splitlines()
                    if "=" in line)
    for _ in range(3):
        e2e.xdo("windowfocus", "--sync", box, check=False)
        e2e.xdo("mousemove", "--window", box, int(geometry["WIDTH"]) // 2, int(geometry["HEIGHT"]) - 28,
                check=False)
        time.sleep(0.2)
        e2e.xdo("mousedown", "1")
        time.sleep(0.2)
        e2e.xdo("mouseup", "1")
        if wait_gone(title, 5):
            return


def wait_for_file(path, size, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if os.path.exists(path) and os.path.getsize(path) == size:
            time.sleep(0.3)
            return True
        time.sleep(0.2)
    return False


def expected_canvas_origin(tool):
    ox, oy = tool.origin()
    return ox + CANVAS[0], oy + CANVAS[1]


def locate(screen, card, near, radius=12):
    """Where on the screen card's pixels are, searched around near: (mismatches, x, y).
    The frame metrics of the Wine prefix decide exactly where the client area starts."""
    cp, sp = card.load(), screen.load()
    samples = [(x, y) for y in range(0, 487, 9) for x in range(0, 336, 9)]
    best = None
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            ox, oy = near[0] + dx, near[1] + dy
            d = sum(cp[x, y] != sp[x + ox, y + oy] for x, y in samples)
            if best is None or d < best[0]:
                best = (d, ox, oy)
    _, ox, oy = best
    full = sum(cp[x, y] != sp[x + ox, y + oy] for y in range(487) for x in range(336))
    return full, ox, oy


def crop_canvas(screen, origin):
    return screen.crop((origin[0], origin[1], origin[0] + CANVAS[2], origin[1] + CANVAS[3]))


def distance(a, b):
    return max(abs(x - y) for x, y in zip(a, b))


def share_within(img, rect, rgb, tolerance):
    """Fraction of the pixels of rect (inclusive ends) within tolerance of rgb."""
    x0, y0, x1, y1 = rect
    px = img.load()
    hits = total = 0
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            total += 1
            hits += distance(px[x, y], rgb) <= tolerance
    return hits / total


def region_changed(before, after, rect):
    x0, y0, x1, y1 = rect
    a, b = before.load(), after.load()
    return sum(distance(a[x, y], b[x, y]) > 40 for y in range(y0, y1) for x in range(x0, x1))


def check_bmp_header(data):
    u16 = lambda at: int.from_bytes(data[at:at + 2], "little")  # noqa: E731
    u32 = lambda at: int.from_bytes(data[at:at + 4], "little")  # noqa: E731
    e2e.check(data[:2] == b"BM", "the file starts with BM")
    e2e.check(len(data) == 490950 and u32(2) == 490950, f"490,950 bytes, as its header says ({len(data)})")
    e2e.check((u32(10), u32(14), u32(18), u32(22), u16(26), u16(28), u32(30), u32(34)) ==
              (54, 40, 336, 487, 1, 24, 0, 490896), "336 x 487, 24 bits, uncompressed, rows at 54")


def main():
    args = e2e.parse_args()
    out = os.path.abspath(args.out)
    for name in os.listdir(out):
        p = os.path.join(out, name)
        if os.path.isfile(p):
            os.chmod(p, stat.S_IWUSR | stat.S_IRUSR)
            os.remove(p)
    portrait = os.path.join(out, "portrait.jpg")
    Image.new("RGB", (305, 400), PORTRAIT_RGB).save(portrait, quality=95)
    card = os.path.join(out, "card.jpg")

    tool = e2e.Tool(args.exe)
    try:
        e2e.check(tool.wait_window() is not None, "the main window appeared")
        start = tool.screenshot(os.path.join(out, "01-start.png"))

        tool.click(*CHOOSE_PICTURE)
        fill_file_dialog("打开", windows_path(portrait))
        time.sleep(0.8)
        with_portrait = tool.screenshot(os.path.join(out, "02-portrait.png"))

        tool.click(*TITLE_EDIT)
        tool.type("Tarvok")
        tool.click(*SKILL1_NOTE_EDIT)
        tool.type("Saved card")
        tool.click(*CAMP_COMBO)
        tool.key("Down", "Down", "Return")
        time.sleep(0.8)
        typed = tool.screenshot(os.path.join(out, "03-typed.png"))

        tool.click(*SAVE_BUTTON)
        fill_file_dialog("另存为", windows_path(os.path.join(out, "card")))
        e2e.check(wait_for_file(card, 490950), "card.jpg was written under the name with .jpg added")
        e2e.check(not os.path.exists(os.path.join(out, "card")), "nothing was written under the bare name")
        e2e.check(wait_for_window("保存失败", 2) is None, "a successful save shows no message")
        screen = tool.screenshot(os.path.join(out, "04-saved-screen.png"))

        data = open(card, "rb").read()
        check_bmp_header(data)
        saved = Image.open(card).convert("RGB")
        saved.save(os.path.join(out, "05-card.png"))
        e2e.check(saved.size == (336, 487), "the saved image opens as 336 x 487")
        # The file's first row is the card's bottom row: a flipped file would not match the screen.
        differ, ox, oy = locate(screen, saved, expected_canvas_origin(tool))
        e2e.check(differ <= 336 * 487 // 200, f"the saved pixels are the screen's at ({ox}, {oy}) ({differ} differ)")
        start, with_portrait, typed = (crop_canvas(img, (ox, oy)) for img in (start, with_portrait, typed))

        tolerance = LAYOUT["tolerance"]
        commoner = LAYOUT["camps"]["commoner"]
        border = [saved.getpixel(tuple(p)) for p in commoner["border_samples"]]
        e2e.check(all(distance(p, commoner["border_rgb"]) <= tolerance for p in border),
                  f"the commoner frame's border colour {commoner['border_rgb']} shows: {border}")
        clear = LAYOUT["window"]["clear_rect"]
        share = share_within(saved, clear, PORTRAIT_RGB, tolerance)
        e2e.check(share >= 0.95, f"the portrait shows through the frame's window ({share:.1%} of it; "
                  "needs the frame and JPEG decoding)")
        e2e.check(share_within(start, clear, PORTRAIT_RGB, tolerance) < 0.05, "no portrait before one was chosen")
        title_rect = (85, 20, 85 + 146, 20 + 32)
        note_rect = (75, 364, 75 + 244, 364 + 61)
        e2e.check(region_changed(with_portrait, saved, title_rect) > 20, "the typed title shows on the card")
        e2e.check(region_changed(with_portrait, saved, note_rect) > 20, "the typed skill note shows on the card")
        e2e.check(region_changed(typed, saved, title_rect) <= 20, "the card was saved as it was shown")

        # A read-only card: the second save is refused, the user is told, the card survives.
        before = hashlib.sha256(data).hexdigest()
        os.chmod(card, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        tool.click(*TITLE_EDIT)
        tool.type("X")
        tool.click(*SAVE_BUTTON)
        fill_file_dialog("另存为", windows_path(os.path.join(out, "card")))
        box = wait_for_window("保存失败", 10)
        tool.screenshot(os.path.join(out, "06-save-failed.png"))
        e2e.check(box is not None, "a failed save shows a message")
        dismiss(box, "保存失败")
        tool.screenshot(os.path.join(out, "07-dismissed.png"))
        e2e.check(wait_gone("保存失败", 1), "the message was dismissed")
        e2e.check(hashlib.sha256(open(card, "rb").read()).hexdigest() == before, "the read-only card is unchanged")
        e2e.check(not any(n.startswith("~tvk") for n in os.listdir(out)),
                  "no temporary file was left behind")
        e2e.check(tool.wait_window(1) is not None, "the tool is still running")
    finally:
        tool.close()
        if os.path.exists(card):
            os.chmod(card, stat.S_IWUSR | stat.S_IRUSR)


if __name__ == "__main__":
    main()
