"""The game and every example as pages (scripts/web.sh) in headless Chromium,
against the same programs of the Linux build.

Each example runs its own input script (examples/NAME/input.txt) in virtual
time in the page, with the settings in the page's URL query, and on Linux
the same way: every frame the page's program snapshots (all, and the
windows as they close) equals the Linux build's snapshot of that frame byte
for byte, the page shows what the program writes on standard output, and a
picture the program saves (SavePng) is downloaded with the bytes of the
Linux build's file. Printing in the page downloads a PDF of the picture.
The game plays its scripted session (tests/reference/snapshots/kiva.txt)
with its console answers typed into the page's input line, compared the
same way; then it is played in real time with real key events: nation and
speed typed into the page, the paddle keys move the blue paddle, q ends the
game, and the window's close box ends the program. The game's last phase
(tests/programs/closing_picture) gives the Linux build's frames up to the
nation's closing picture, which the canvas then shows in real time. A page
carrying the faces that lend characters draws Chinese characters and a tick
as Linux does.

    pages_test.py PAGES LINUX_BUILD SOURCE [unittest options]
"""

import base64
import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, differences, read_picture  # noqa: E402

PAGES = LINUX = SOURCE = None
ENDED = "window.kivaExitStatus !== undefined"

# What the page's program wrote into a folder of its file system:
# {name: base64 bytes}.
READ_FOLDER = """(() => {{ const fs = Module.FS, out = {{}};
  if (!fs.analyzePath({0}).exists) return out;
  for (const name of fs.readdir({0})) {{
    if (name === '.' || name === '..') continue;
    const d = fs.readFile({0} + '/' + name); let s = '';
    for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    out[name] = btoa(s);
  }}
  return out; }})()"""


def examples():
    folder = os.path.join(SOURCE, "examples")
    return sorted(n for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n, "input.txt")))


def native_run(program, script, shots, answers=None, cwd=None):
    """Runs a Linux program headless with the input script in virtual time,
    snapshots into `shots`, in the program's folder unless `cwd` is given;
    returns (status, stdout lines)."""
    os.makedirs(shots, exist_ok=True)
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER") and
           not k.startswith("GRAPHICS_")}
    env.update(GRAPHICS_TIME="virtual", GRAPHICS_INPUT=script, GRAPHICS_SNAPSHOT=os.path.join(shots, "s-%d.png"))
    done = subprocess.run([program], cwd=cwd or os.path.dirname(program), env=env, input=answers or "", text=True,
                          capture_output=True, timeout=300)
    return done.returncode, done.stdout.splitlines()


def read_file(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def read_folder(path):
    return {name: read_file(os.path.join(path, name)) for name in sorted(os.listdir(path))}


class Pages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Served: the pages, and the input scripts the pages fetch.
        cls.tmp = tempfile.TemporaryDirectory()
        cls.root = os.path.join(cls.tmp.name, "root")
        os.makedirs(os.path.join(cls.root, "inputs"))
        os.symlink(PAGES, os.path.join(cls.root, "pages"))
        for name in examples():
            os.symlink(os.path.join(SOURCE, "examples", name, "input.txt"),
                       os.path.join(cls.root, "inputs", name + ".txt"))
        os.symlink(os.path.join(SOURCE, "tests/reference/snapshots/kiva.txt"),
                   os.path.join(cls.root, "inputs", "kiva.txt"))
        for name in ("fallback_text", "closing_picture"):
            os.symlink(os.path.join(SOURCE, "tests/programs", name + ".txt"),
                       os.path.join(cls.root, "inputs", name + ".txt"))
        cls.compared = 0

    @classmethod
    def tearDownClass(cls):
        print(f"\npages: {cls.compared} frames compared with the Linux build's", file=sys.stderr)
        cls.tmp.cleanup()

    def scripted(self, b, name, script, answers=(), prompt=None):
        """Runs the page `name` with `script` in virtual time, typing each of
        `answers` into the input line (once the program has written the line
        `prompt`, when given; otherwise as soon as the page's script has run,
        often before the program reads, which the line must keep); returns
        (status, shots, stdout lines)."""
        query = f"GRAPHICS_TIME=virtual&GRAPHICS_INPUT=/inputs/{script}&GRAPHICS_SNAPSHOT=/shots/s-%25d.png"
        b.console.clear()
        b.navigate(f"pages/{name}.html?{query}", until="window.Module && Module.FS")
        if prompt:
            b.wait_console(prompt)
        for answer in answers:
            b.type_into("#kiva-input", answer, enter=True)
        b.wait_for(ENDED, f"the end of {name}")
        shots = {k: base64.b64decode(v) for k, v in b.evaluate(READ_FOLDER.format("'/shots'")).items()}
        lines = [text for kind, text in b.console if kind == "log"]
        return b.evaluate("window.kivaExitStatus"), shots, lines

    def same_shots(self, page, native):
        self.assertTrue(native, "the Linux run wrote no snapshot")
        self.assertEqual(sorted(page), sorted(native))
        differing = [n for n in native if page[n] != native[n]]
        self.assertEqual(differing, [], "snapshots that differ from the Linux build's")
        type(self).compared += len(native)

    def test_every_example_snapshots_the_frames_of_the_linux_build(self):
        downloads = os.path.join(self.tmp.name, "downloads")
        with Browser(self.root, downloads=downloads, timeout=120) as b:
            for name in examples():
                with self.subTest(example=name):
                    script = os.path.join(SOURCE, "examples", name, "input.txt")
                    shots = os.path.join(self.tmp.name, "native", name)
                    program = os.path.join(LINUX, "examples", name, name)
                    status, lines = native_run(program, script, shots)
                    self.assertEqual(status, 0)
                    page_status, page_shots, page_lines = self.scripted(b, name, name + ".txt")
                    self.assertEqual(page_status, 0)
                    self.same_shots(page_shots, read_folder(shots))
                    self.assertEqual(page_lines, lines)
                    # A picture the program saves (SavePng) reaches the page's user as a download.
                    for line in lines:
                        if line.startswith("saved "):
                            saved = line.split()[1]
                            self.assertEqual(read_file(b.wait_download(saved)),
                                             read_file(os.path.join(os.path.dirname(program), saved)))

    def test_characters_lent_by_other_faces_as_on_linux(self):
        # Chinese characters and a tick, which the Liberation faces lack.
        script = os.path.join(SOURCE, "tests/programs/fallback_text.txt")
        shots = os.path.join(self.tmp.name, "native", "fallback_text")
        status, _ = native_run(os.path.join(LINUX, "tests", "fallback_text"), script, shots)
        self.assertEqual(status, 0)
        with Browser(self.root, timeout=120) as b:
            page_status, page_shots, _ = self.scripted(b, "fallback_text", "fallback_text.txt")
        self.assertEqual(page_status, 0)
        self.same_shots(page_shots, read_folder(shots))

    def test_printing_offers_a_pdf_of_the_page(self):
        with Browser(self.root, downloads=os.path.join(self.tmp.name, "pdf"), timeout=120) as b:
            b.navigate("pages/print_picture.html")
            b.wait_console("ready")
            b.press("p")
            pdf = read_file(b.wait_download("Print picture.pdf"))
            b.press("q")
            b.wait_for(ENDED, "print_picture's end")
        self.assertTrue(pdf.startswith(b"%PDF-1.4"))
        # One A4 page with the window's 1000 x 720 picture on it.
        self.assertEqual(pdf.count(b"/Type /Page "), 1)
        self.assertIn(b"/MediaBox [0 0 595.2756 841.8898]", pdf)
        self.assertIn(b"/Subtype /Image /Width 1000 /Height 720", pdf)

    def test_the_game_session_with_answers_typed_in_the_page(self):
        answers = read_file(os.path.join(SOURCE, "tests/reference/snapshots/kiva-answers.txt"), "r").split()
        shots = os.path.join(self.tmp.name, "native", "kiva")
        status, _ = native_run(os.path.join(LINUX, "game", "kiva"), os.path.join(self.root, "inputs", "kiva.txt"),
                               shots, "".join(a + "\n" for a in answers))
        self.assertEqual(status, 0)
        with Browser(self.root, timeout=120) as b:
            page_status, page_shots, _ = self.scripted(b, "kiva", "kiva.txt", answers)
        self.assertEqual(page_status, 0)
        native_shots = read_folder(shots)
        # q ends the game after 40 frames: its window's last picture, as it
        # closes, is among those compared.
        self.assertIn("s-41-close.png", native_shots)
        self.same_shots(page_shots, native_shots)

    def test_a_line_typed_before_the_program_reads_is_kept(self):
        # Typed while the program pauses, before it has opened a window or
        # read anything.
        with Browser(self.root, timeout=120) as b:
            b.navigate("pages/typed_ahead.html")
            b.wait_console("ready")
            b.type_into("#kiva-input", "typed ahead", enter=True)
            b.wait_console("read typed ahead")
            b.wait_for(ENDED, "typed_ahead's end")
            self.assertEqual(b.evaluate("window.kivaExitStatus"), 0)

    def test_the_closing_picture_as_on_linux(self):
        # The game's last phase (tests/programs/closing_picture): no rally
        # lost, the level past 110 in 110 frames, then Japan's picture.
        shots = os.path.join(self.tmp.name, "native", "closing_picture")
        status, _ = native_run(os.path.join(LINUX, "tests", "closing_picture"),
                               os.path.join(SOURCE, "tests/programs/closing_picture.txt"), shots, "1\n",
                               cwd=os.path.join(LINUX, "game"))
        self.assertEqual(status, 0)
        native_shots = read_folder(shots)
        closing = max((n for n in native_shots if "close" not in n), key=lambda n: int(n[2:-4]))
        self.assertEqual(closing, "s-111.png", "the closing picture after 110 frames")
        with Browser(self.root, timeout=120) as b:
            page_status, page_shots, _ = self.scripted(b, "closing_picture", "closing_picture.txt", ["1"], "Nation (1-4):")
            self.assertEqual(page_status, 0)
            self.same_shots(page_shots, native_shots)
            # In real time, the canvas shows the picture for seven seconds as
            # the Linux window's screen does (its picture as it closes: the
            # back buffer's copy leaves out the last column and row); then
            # the last window waits for a click.
            expected = read_picture(os.path.join(shots, "s-111-close.png"))
            b.console.clear()
            b.navigate("pages/closing_picture.html", until="window.Module && Module.FS")
            b.wait_console("Nation (1-4):")
            b.type_into("#kiva-input", "1", enter=True)
            seen = self.canvas_until(b, expected, 60)
            self.assertIsNone(differences(seen, expected), "the canvas during the closing picture")
            b.wait_for("document.querySelector('#kiva-output').textContent.includes('Click mouse in the graphics')")
            b.click_element(".kiva-canvas", 500, 360)
            b.wait_for(ENDED, "closing_picture's end")
            self.assertEqual(b.evaluate("window.kivaExitStatus"), 0)

    def canvas_until(self, b, expected, seconds):
        """The window's canvas once it shows `expected`, or when `seconds`
        have passed."""
        deadline = time.monotonic() + seconds
        while True:
            seen = (None, None, b"")
            if b.evaluate("document.querySelector('.kiva-canvas') !== null"):
                seen = b.canvas_pixels(".kiva-canvas")
            if differences(seen, expected) is None or time.monotonic() > deadline:
                return seen
            time.sleep(0.2)

    def test_the_game_played_with_keys_in_real_time(self):
        with Browser(self.root, timeout=120) as b:
            b.navigate("pages/kiva.html")
            b.wait_console("5 <I don't care, I want to quit>")
            b.type_into("#kiva-input", "2", enter=True)
            b.wait_for("document.querySelector('#kiva-output').textContent.includes('BallSpeed')")
            b.type_into("#kiva-input", "3", enter=True)
            b.wait_for("document.querySelector('.kiva-window') && "
                       "document.querySelector('.kiva-window').style.display !== 'none'")
            self.assertEqual(b.evaluate("document.querySelector('.kiva-title').textContent"),
                             "Tobb's Cube Rendering thingy")
            start = self.paddle_x(b)
            self.assertIsNotNone(start, "no blue paddle on the canvas")
            for _ in range(3):
                b.press("4")
            b.wait_for(f"({PADDLE_X})() !== null && ({PADDLE_X})() < {start - 60}", "the paddle moving left")
            left = self.paddle_x(b)
            b.press("6")
            b.wait_for(f"({PADDLE_X})() > {left + 20}", "the paddle moving right")
            b.press("q")
            # The game is over: the last window waits for a click, then the menu comes again.
            b.wait_for("document.querySelector('#kiva-output').textContent.includes('Click mouse in the graphics')")
            b.click_element(".kiva-canvas", 500, 360)
            b.wait_for("document.querySelector('#kiva-output').textContent.split('I want to quit').length > 2",
                       "the menu after q")
            self.assertEqual(b.evaluate("document.querySelectorAll('.kiva-window').length"), 0)
            b.type_into("#kiva-input", "5", enter=True)
            b.wait_for(ENDED, "the game's end")
            self.assertEqual(b.evaluate("window.kivaExitStatus"), 0)

    def paddle_x(self, b):
        return b.evaluate(f"({PADDLE_X})()")


# The mean x of the canvas's paddle-blue pixels, null when there are none.
PADDLE_X = """function () {
  const c = document.querySelector('.kiva-canvas'); if (!c) return null;
  const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  let sum = 0, n = 0;
  for (let i = 0; i < d.length; i += 4) if (d[i] < 40 && d[i + 1] < 40 && d[i + 2] > 200) { sum += (i / 4) % c.width; ++n; }
  return n > 100 ? sum / n : null; }"""


if __name__ == "__main__":
    PAGES, LINUX, SOURCE = (os.path.abspath(p) for p in sys.argv[1:4])
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
