"""Typing from outside shows the texts on the card; Esc ends the tool with exit code 0."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tarvok_e2e import Tool, check, parse_args  # noqa: E402

CANVAS = (9, 14)  # cardCanvas in the main window's client area
TITLE_EDIT = (353 + 53 + 50, 63 + 15 + 10)
NOTE_EDIT = (353 + 82 + 60, 227 + 46 + 20)
TITLE_LABEL = (85, 20, 146, 32)
NOTE_LABEL = (75, 364, 244, 61)


def region(img, rect):
    x, y, w, h = rect
    return img.crop((CANVAS[0] + x, CANVAS[1] + y, CANVAS[0] + x + w, CANVAS[1] + y + h))


def count(before, after, test):
    """Pixels that pass test after typing but did not before."""
    b, a = before.load(), after.load()
    return sum(1 for y in range(after.height) for x in range(after.width) if test(a[x, y]) and not test(b[x, y]))


def main():
    args = parse_args()
    tool = Tool(args.exe)
    check(tool.wait_window() is not None, "the main window appears")
    tool.focus()
    before = tool.client_image(os.path.join(args.out, "before.png"))

    tool.click(*TITLE_EDIT)
    tool.type("Hero of Tarvok")
    tool.click(*NOTE_EDIT)
    tool.type("Strike twice")
    tool.key("Return")
    tool.type("then rest")
    after = tool.client_image(os.path.join(args.out, "typed.png"))
    after.save(os.path.join(args.out, "typed-client.png"))

    white = count(region(before, TITLE_LABEL), region(after, TITLE_LABEL), lambda p: min(p) > 200)
    check(white > 40, f"the title shows in white on the card ({white} new white pixels)")
    dark = count(region(before, NOTE_LABEL), region(after, NOTE_LABEL), lambda p: max(p) < 70)
    check(dark > 80, f"the skill note shows in black on the card ({dark} new dark pixels)")
    lower = region(after, (NOTE_LABEL[0], NOTE_LABEL[1] + 20, NOTE_LABEL[2], 20))
    lower_before = region(before, (NOTE_LABEL[0], NOTE_LABEL[1] + 20, NOTE_LABEL[2], 20))
    check(count(lower_before, lower, lambda p: max(p) < 70) > 20, "Enter in the note box starts a second line")

    code = tool.close()
    check(code == 0, f"Esc ends the process with exit code 0 (got {code})")


if __name__ == "__main__":
    main()
