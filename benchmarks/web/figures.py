"""The web build's figures, in one run on this machine: the court frame's
drawing time in the page (headless Chromium) against the native build, the
game's frames per second in the page, the time from opening a page to its
first frame, and the sizes of the game's .wasm, .js and single-file .html.

    /usr/bin/python3 benchmarks/web/figures.py [PAGES [LINUX_BUILD]]
        (default build/web/pages and build/linux; scripts/web.sh builds the pages)
"""

import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/web"))
from browser import Browser  # noqa: E402

FRAMES = 2000
RESULT = re.compile(r"court_frame: (\d+) frames in ([\d.]+) s")


def court_frame_ms(output):
    found = RESULT.search(output)
    if not found:
        sys.exit(f"figures.py: no result from court_frame in: {output!r}")
    return 1000.0 * float(found.group(2)) / int(found.group(1))


def main(pages, linux):
    native = subprocess.run([os.path.join(linux, "benchmarks/court_frame/court_frame"), str(FRAMES)],
                            env={**os.environ, "SDL_VIDEODRIVER": "offscreen"}, capture_output=True, text=True,
                            timeout=600)
    native_ms = court_frame_ms(native.stdout)

    with Browser(pages, timeout=120) as b:
        # A page's first frame: the time from the navigation's start.
        b.navigate("bouncing_ball.html", until="window.Module && Module.kivaPage && Module.kivaPage.firstPresentMs !== null")
        first_ms = b.evaluate("Module.kivaPage.firstPresentMs")
        print(f"first frame {first_ms:.0f} ms", flush=True)

        b.console.clear()
        b.navigate("court_frame.html")
        b.wait_for("window.kivaExitStatus !== undefined", "court_frame's end")
        page_ms = court_frame_ms("\n".join(text for _, text in b.console))
        print(f"court frame {page_ms:.2f} ms in the page", flush=True)

        # The game in real time: frames shown over five seconds of play.
        b.navigate("kiva.html")
        b.wait_console("5 <I don't care, I want to quit>")
        b.type_into("#kiva-input", "4", enter=True)
        b.wait_for("document.querySelector('#kiva-output').textContent.includes('BallSpeed')")
        # The game's window opens and shows its first frame while the answer
        # is still being typed: the time is taken before typing it. Nothing
        # was shown before (the questions are asked in the console).
        typed = b.evaluate("performance.now()")
        b.type_into("#kiva-input", "1", enter=True)
        b.wait_for("Module.kivaPage && Module.kivaPage.presented > 0", "the game's first frame")
        game_first_ms = b.evaluate("Module.kivaPage.firstPresentMs") - typed
        b.evaluate("new Promise(r => setTimeout(r, 1000))")  # past the start
        count0, t0 = b.evaluate("[Module.kivaPage.presented, performance.now()]")
        b.evaluate("new Promise(r => setTimeout(r, 5000))")
        count1, t1 = b.evaluate("[Module.kivaPage.presented, performance.now()]")
        fps = (count1 - count0) * 1000.0 / (t1 - t0)
        b.press("q")

    def size(name):
        return os.path.getsize(os.path.join(pages, name)) / 1e6

    print(f"court frame: {page_ms:.2f} ms in the page, {native_ms:.2f} ms native "
          f"({page_ms / native_ms:.2f}x; {FRAMES} frames each)")
    print(f"game: {fps:.1f} frames per second in the page (frames shown over 5 s of play)")
    print(f"first frame: {first_ms:.0f} ms from opening bouncing_ball.html, "
          f"{game_first_ms:.0f} ms from the game's last answer to its first frame")
    print(f"sizes: kiva.wasm {size('kiva.wasm'):.2f} MB, kiva.js {size('kiva.js'):.2f} MB, "
          f"single/kiva.html {size('single/kiva.html'):.2f} MB")


if __name__ == "__main__":
    args = sys.argv[1:] + ["build/web/pages", "build/linux"][len(sys.argv) - 1:]
    main(os.path.abspath(args[0]), os.path.abspath(args[1]))
