"""The web build's tools on a test page (page/canvas_page.cpp) in a real
browser: the page shows its frame on a canvas, waits through Asyncify for
keys, a click and a typed line, and offers a PNG file for download. What it
shows must be, pixel for pixel, what the same program draws natively with
the system's libraries.

Usage: canvas_page_test.py PAGE_BUILD_DIR NATIVE_PROGRAM FONT
(tests/web/run.sh builds both and runs this).
"""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, differences, read_picture  # noqa: E402

PAGE_DIR = NATIVE = FONT = None
READY = "ready 160 100"


def native_frame(folder, *events):
    """The frame the native build draws after `events`, from its PNG file."""
    out = os.path.join(folder, "native.png")
    subprocess.run([NATIVE, FONT, out, *events], check=True, stdout=subprocess.DEVNULL, timeout=60)
    return read_picture(out)


def pixel(picture, x, y):
    width, _, data = picture
    i = (y * width + x) * 4
    return tuple(data[i:i + 4])


class CanvasPage(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.downloads = os.path.join(self.tmp.name, "downloads")

    def tearDown(self):
        self.tmp.cleanup()

    def test_a_session_of_keys_click_and_typed_line_ends_in_the_natively_drawn_frame(self):
        with Browser(PAGE_DIR, downloads=self.downloads) as b:
            b.navigate("canvas_page.html")
            b.wait_console(READY)
            self.assertIsNone(differences(b.canvas_pixels("#frame"), native_frame(self.tmp.name)))

            # Keys other than lowercase letters are passed over, and each
            # arrives as the browser's own keyboard would send it.
            for key in ("Escape", "ArrowLeft", "F5", "Enter", "A", "%", "g"):
                b.press(key)
            b.click_element("#frame", 40, 70)
            b.wait_console("name?")
            b.type_into("#line", "my frame", enter=True)
            path = b.wait_download("my frame.png")
            b.wait_for("window.kivaExitStatus === 0", "the program's end")

            lines = [text for kind, text in b.console if kind == "log"]
            self.assertEqual(lines, [READY, "key Escape Escape 27", "key ArrowLeft ArrowLeft 37", "key F5 F5 116",
                                     "key Enter Enter 13", "key A KeyA 65", "key % Digit5 53", "key g KeyG 71", "click 40 70", "name?",
                                     "hello my frame", "saved my frame.png"])
            shown = b.canvas_pixels("#frame")

        expected = native_frame(self.tmp.name, "key g KeyG 71", "click 40 70", "line my frame")
        self.assertIsNone(differences(shown, expected))
        self.assertIsNone(differences(read_picture(path), expected))
        self.assertEqual(pixel(shown, 101, 9), (0, 255, 0, 255))  # the square green for g
        self.assertEqual(pixel(shown, 40, 70), (0, 0, 0, 255))  # the dot where the click was

    def test_the_single_file_page_opens_from_disk(self):
        page = os.path.abspath(os.path.join(PAGE_DIR, "canvas_page_single.html"))
        with Browser(self.tmp.name) as b:
            b.navigate("file://" + page)
            b.wait_console(READY)
            self.assertIsNone(differences(b.canvas_pixels("#frame"), native_frame(self.tmp.name)))


if __name__ == "__main__":
    PAGE_DIR, NATIVE, FONT = sys.argv[1:4]
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
