"""Drives Debian's Chromium, headless, over the DevTools protocol, for tests of
pages built for the web.

    with Browser(folder, downloads=tmp) as b:      # serves `folder` on 127.0.0.1
        b.navigate("page.html", until="window.ready === true")
        b.press("g"); b.press("F5"); b.press("a", shift=True)
        b.click_element("#frame", 40, 70)
        b.type_into("#line", "name", enter=True)
        width, height, rgba = b.canvas_pixels("#frame")
        path = b.wait_download("name.png")
        b.wait_console("saved name.png")

The browser and the web server end with the `with` block, whatever happens.
Timeouts are generous: the machines these tests run on are often busy.
Runs with Debian's /usr/bin/python3 and its python3-websocket (and
python3-pil for reading picture files).
"""

import base64
import functools
import http.server
import json
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time

import websocket

CHROMIUM = "/usr/bin/chromium"
# Headless, and nothing that reaches for the network or for a GPU.
FLAGS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0", "--window-size=1024,768",
]


class BrowserError(Exception):
    pass


class _Server:
    """A web server for one folder on 127.0.0.1, on a free port."""

    def __init__(self, folder):
        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                              ".wasm": "application/wasm", ".js": "text/javascript"}

            def log_message(self, *args):
                pass

        handler = functools.partial(Handler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


# Keys by name: (key, code, Windows virtual-key code, text).
_NAMED_KEYS = {
    "Escape": ("Escape", "Escape", 27, ""), "Enter": ("Enter", "Enter", 13, "\r"),
    "Tab": ("Tab", "Tab", 9, ""), "Backspace": ("Backspace", "Backspace", 8, ""),
    "Delete": ("Delete", "Delete", 46, ""), "Insert": ("Insert", "Insert", 45, ""),
    "Home": ("Home", "Home", 36, ""), "End": ("End", "End", 35, ""),
    "PageUp": ("PageUp", "PageUp", 33, ""), "PageDown": ("PageDown", "PageDown", 34, ""),
    "ArrowLeft": ("ArrowLeft", "ArrowLeft", 37, ""), "ArrowUp": ("ArrowUp", "ArrowUp", 38, ""),
    "ArrowRight": ("ArrowRight", "ArrowRight", 39, ""), "ArrowDown": ("ArrowDown", "ArrowDown", 40, ""),
    **{f"F{n}": (f"F{n}", f"F{n}", 111 + n, "") for n in range(1, 13)},
}
# Printable characters of a US keyboard that are not letters or digits:
# (unshifted, shifted, code, virtual-key code).
_PUNCTUATION = [
    (" ", " ", "Space", 32), ("-", "_", "Minus", 189), ("=", "+", "Equal", 187),
    ("[", "{", "BracketLeft", 219), ("]", "}", "BracketRight", 221), ("\\", "|", "Backslash", 220),
    (";", ":", "Semicolon", 186), ("'", '"', "Quote", 222), (",", "<", "Comma", 188),
    (".", ">", "Period", 190), ("/", "?", "Slash", 191), ("`", "~", "Backquote", 192),
]
_DIGIT_SHIFTED = ")!@#$%^&*("
_MODIFIERS = {"alt": 1, "ctrl": 2, "meta": 4, "shift": 8}


def key_event(name, shift=False):
    """The fields of a key press: key, code, keyCode and the text it types,
    for a printable character (typed with `shift` held when it needs it) or a
    key's name (Escape, Enter, Tab, Backspace, arrows, F1-F12, ...).
    Returns (key, code, keyCode, text, shift)."""
    if name in _NAMED_KEYS:
        return (*_NAMED_KEYS[name], shift)
    if len(name) != 1:
        raise ValueError(f"unknown key {name!r}")
    if name.isascii() and name.isalpha():
        shift = shift or name.isupper()
        text = name.upper() if shift else name.lower()
        return text, "Key" + name.upper(), ord(name.upper()), text, shift
    if name.isdigit() or name in _DIGIT_SHIFTED:
        digit = name if name.isdigit() else str(_DIGIT_SHIFTED.index(name))
        shift = shift or not name.isdigit()
        text = _DIGIT_SHIFTED[int(digit)] if shift else digit
        return text, "Digit" + digit, ord(digit), text, shift
    for plain, shifted, code, vk in _PUNCTUATION:
        if name in (plain, shifted):
            shift = shift or (name == shifted and plain != shifted)
            text = shifted if shift else plain
            return text, code, vk, text, shift
    raise ValueError(f"no key types {name!r}")


class Browser:
    def __init__(self, folder, downloads=None, timeout=60.0):
        """Serves `folder` and starts the browser; downloads go into
        `downloads` when given. `timeout` is the longest any one wait lasts."""
        self.timeout = timeout
        self.console = []  # (type, text) of each console message, in order
        self.downloads = downloads
        self._events = []
        self._next_id = 0
        self._server = self._process = self._ws = None
        self._profile = tempfile.mkdtemp(prefix="kiva-chromium-")
        try:
            self._server = _Server(folder)
            self._start(downloads)
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- starting and ending

    def _start(self, downloads):
        # A session of its own: ending its group ends every process it made.
        self._process = subprocess.Popen(
            [CHROMIUM, *FLAGS, f"--user-data-dir={self._profile}", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            start_new_session=True, text=True)
        url = self._read_devtools_url()
        self._ws = websocket.create_connection(url, timeout=self.timeout, suppress_origin=True)
        page = self.call("Target.createTarget", {"url": "about:blank"}, session=None)["targetId"]
        self._session = self.call("Target.attachToTarget", {"targetId": page, "flatten": True},
                                  session=None)["sessionId"]
        for domain in ("Page", "Runtime"):
            self.call(domain + ".enable")
        if downloads:
            os.makedirs(downloads, exist_ok=True)
            self.call("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": os.path.abspath(downloads),
                                                      "eventsEnabled": True}, session=None)

    def _read_devtools_url(self):
        # The browser names its DevTools address on standard error; the rest
        # of what it writes there is drained so that it never blocks on it.
        found = threading.Event()
        lines, url = [], []

        def read():
            for line in self._process.stderr:
                if not url and line.startswith("DevTools listening on "):
                    url.append(line.split(" on ", 1)[1].strip())
                    found.set()
                elif len(lines) < 50:
                    lines.append(line)
            found.set()

        threading.Thread(target=read, daemon=True).start()
        found.wait(self.timeout)
        if not url:
            raise BrowserError("the browser did not start:\n" + "".join(lines))
        return url[0]

    def close(self):
        if self._ws:
            try:
                self._ws.settimeout(5)
                self._send("Browser.close", {}, None)
            except Exception:
                pass
            self._ws.close()
            self._ws = None
        if self._process:
            try:
                self._process.wait(10)
            except subprocess.TimeoutExpired:
                pass
            try:
                os.killpg(self._process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self._process.wait()
            self._process.stderr.close()
            self._process = None
        if self._server:
            self._server.close()
            self._server = None
        shutil.rmtree(self._profile, ignore_errors=True)

    # --- the protocol

    def _send(self, method, params, session):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        self._ws.send(json.dumps(message))
        return self._next_id

    def call(self, method, params=None, session=""):
        """Sends a command (to the page unless `session` is None: the
        browser) and returns its result; events that arrive meanwhile are kept."""
        wanted = self._send(method, params or {}, self._session if session == "" else session)
        deadline = time.monotonic() + self.timeout
        while True:
            message = self._receive(deadline, method)
            if message.get("id") == wanted:
                if "error" in message:
                    raise BrowserError(f"{method}: {message['error'].get('message')}")
                return message.get("result", {})

    def _receive(self, deadline, waiting_for):
        left = deadline - time.monotonic()
        if left <= 0:
            raise BrowserError(f"no answer to {waiting_for} in {self.timeout} s")
        self._ws.settimeout(left)
        try:
            message = json.loads(self._ws.recv())
        except websocket.WebSocketTimeoutException:
            raise BrowserError(f"no answer to {waiting_for} in {self.timeout} s") from None
        if "method" in message:
            self._event(message)
        return message

    def _event(self, message):
        method, params = message["method"], message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params.get("args", []))
            self.console.append((params.get("type", "log"), text))
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            self.console.append(("exception", details.get("exception", {}).get("description", details.get("text"))))
        self._events.append(message)

    def _pump(self, seconds):
        """Takes the events that arrive within `seconds`."""
        end = time.monotonic() + seconds
        while (left := end - time.monotonic()) > 0:
            self._ws.settimeout(left)
            try:
                message = json.loads(self._ws.recv())
            except websocket.WebSocketTimeoutException:
                break
            if "method" in message:
                self._event(message)

    # --- pages and scripts

    def url(self, path):
        return f"http://127.0.0.1:{self._server.port}/{path.lstrip('/')}"

    def navigate(self, path, until=None):
        """Opens `path` of the served folder (or a full URL: file://...) and
        waits until the JavaScript expression `until` holds."""
        url = path if "://" in path else self.url(path)
        result = self.call("Page.navigate", {"url": url})
        if result.get("errorText"):
            raise BrowserError(f"cannot open {url}: {result['errorText']}")
        if until:
            self.wait_for(until)

    def evaluate(self, expression):
        """The value of a JavaScript expression (promises are awaited)."""
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True})
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise BrowserError(f"{expression}: {details.get('exception', {}).get('description', details.get('text'))}")
        return result["result"].get("value")

    def wait_for(self, expression, what=None):
        """Polls until the JavaScript expression is true; fails after the
        timeout, with what the console said."""
        deadline = time.monotonic() + self.timeout
        while not self.evaluate(f"!!({expression})"):
            if time.monotonic() > deadline:
                raise BrowserError(f"waited {self.timeout} s for {what or expression}; console:\n" +
                                   "\n".join(f"  {kind}: {text}" for kind, text in self.console))
            self._pump(0.05)

    def wait_console(self, text):
        """Waits for a console message equal to `text`."""
        deadline = time.monotonic() + self.timeout
        while not any(t == text for _, t in self.console):
            if time.monotonic() > deadline:
                raise BrowserError(f"waited {self.timeout} s for the console line {text!r}; console:\n" +
                                   "\n".join(f"  {kind}: {t}" for kind, t in self.console))
            self._pump(0.05)

    # --- input

    def press(self, name, shift=False, ctrl=False, alt=False):
        """Presses and releases a key: a printable character or a key's name
        (see key_event)."""
        key, code, vk, text, shift = key_event(name, shift)
        modifiers = (_MODIFIERS["shift"] if shift else 0) | (_MODIFIERS["ctrl"] if ctrl else 0) | \
            (_MODIFIERS["alt"] if alt else 0)
        typed = text if not (ctrl or alt) else ""
        event = {"key": key, "code": code, "windowsVirtualKeyCode": vk, "nativeVirtualKeyCode": vk,
                 "modifiers": modifiers}
        self.call("Input.dispatchKeyEvent",
                  {**event, "type": "keyDown" if typed else "rawKeyDown", "text": typed, "unmodifiedText": typed})
        self.call("Input.dispatchKeyEvent", {**event, "type": "keyUp"})

    def type_text(self, text):
        """Types each character of `text` as a key press."""
        for ch in text:
            self.press(ch)

    def type_into(self, selector, text, enter=False):
        """Focuses the element (an input) and types `text` into it, then Enter."""
        self.evaluate(f"document.querySelector({json.dumps(selector)}).focus()")
        self.type_text(text)
        if enter:
            self.press("Enter")

    def mouse(self, kind, x, y, button="left", clicks=1):
        """One mouse event at page coordinates: kind is mouseMoved,
        mousePressed, mouseReleased or mouseWheel."""
        params = {"type": kind, "x": x, "y": y, "button": button if kind != "mouseMoved" else "none",
                  "clickCount": clicks if kind in ("mousePressed", "mouseReleased") else 0}
        if kind == "mouseWheel":
            params.update(deltaX=0, deltaY=clicks)
        self.call("Input.dispatchMouseEvent", params)

    def click(self, x, y, button="left"):
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, button)
        self.mouse("mouseReleased", x, y, button)

    def element_origin(self, selector):
        """The page coordinates of the element's top left corner."""
        box = self.evaluate(f"(() => {{ const r = document.querySelector({json.dumps(selector)})"
                            ".getBoundingClientRect(); return [r.left, r.top]; })()")
        return box[0], box[1]

    def click_element(self, selector, x, y, button="left"):
        """Clicks at (x, y) inside the element."""
        left, top = self.element_origin(selector)
        self.click(left + x, top + y, button)

    # --- what the page shows

    def canvas_pixels(self, selector="canvas"):
        """A canvas's pixels: (width, height, RGBA bytes, rows top down)."""
        width, height, data = self.evaluate(
            f"(() => {{ const c = document.querySelector({json.dumps(selector)});"
            " const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; let s = '';"
            " for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));"
            " return [c.width, c.height, btoa(s)]; })()")
        return width, height, base64.b64decode(data)

    def screenshot(self, path):
        """Saves a PNG picture of the page's viewport."""
        data = self.call("Page.captureScreenshot", {"format": "png"})["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def wait_download(self, name):
        """Waits until the file `name` has arrived in the downloads folder
        and returns its path."""
        if not self.downloads:
            raise BrowserError("the browser was started without a downloads folder")
        deadline = time.monotonic() + self.timeout
        while True:
            begun = {e["params"]["guid"]: e["params"]["suggestedFilename"] for e in self._events
                     if e["method"] == "Browser.downloadWillBegin"}
            done = [begun.get(e["params"]["guid"]) for e in self._events
                    if e["method"] == "Browser.downloadProgress" and e["params"]["state"] == "completed"]
            if name in done:
                return os.path.join(self.downloads, name)
            if time.monotonic() > deadline:
                raise BrowserError(f"waited {self.timeout} s for the download {name}; began: {list(begun.values())}")
            self._pump(0.05)


def read_picture(path):
    """A PNG or PPM file's pixels: (width, height, RGBA bytes)."""
    from PIL import Image
    with Image.open(path) as image:
        rgba = image.convert("RGBA")
        return rgba.width, rgba.height, rgba.tobytes()


def differences(a, b):
    """Compares two pictures (width, height, RGBA bytes): None when they are
    equal, else a short description of how they differ."""
    (aw, ah, ad), (bw, bh, bd) = a, b
    if (aw, ah) != (bw, bh):
        return f"sizes differ: {aw}x{ah} and {bw}x{bh}"
    diff = [i // 4 for i in range(0, len(ad), 4) if ad[i:i + 4] != bd[i:i + 4]]
    if not diff:
        return None
    x, y = diff[0] % aw, diff[0] // aw
    i = diff[0] * 4
    return f"{len(diff)} pixels differ, the first at ({x}, {y}): {tuple(ad[i:i + 4])} and {tuple(bd[i:i + 4])}"
