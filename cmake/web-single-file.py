"""Writes the one-file form of a page that kiva_add_web_page linked: the
page with its script inlined and its WebAssembly module inlined as base64
(given to the runtime as Module.wasmBinary), so that it opens from disk.

    web-single-file.py PAGE.html OUT.html
"""
import base64
import os
import re
import sys


def main(page, out):
    folder, name = os.path.split(page)
    stem = os.path.splitext(name)[0]
    with open(page, encoding="utf-8") as f:
        html = f.read()
    with open(os.path.join(folder, stem + ".js"), encoding="utf-8") as f:
        script = f.read()
    with open(os.path.join(folder, stem + ".wasm"), "rb") as f:
        wasm = base64.b64encode(f.read()).decode("ascii")
    tag = re.compile(r'<script[^>]*\ssrc="%s\.js"[^>]*>\s*</script>' % re.escape(stem))
    if len(tag.findall(html)) != 1:
        sys.exit(f"web-single-file.py: {page} does not load {stem}.js exactly once")
    inline = ('<script>Module["wasmBinary"] = Uint8Array.from(atob("%s"), function (c) '
              '{ return c.charCodeAt(0); });</script>\n<script>%s</script>'
              % (wasm, script.replace("</script", "<\\/script")))
    html = tag.sub(lambda _: inline, html)
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out + ".part", "w", encoding="utf-8") as f:
        f.write(html)
    os.replace(out + ".part", out)


if __name__ == "__main__":
    main(*sys.argv[1:3])
