#!/usr/bin/env python3
"""The reference of graphics.h, made by Doxygen with its warnings as errors.

Checks what the generated reference holds: every public name of graphics.h
documented (members, free functions, enumerations and each of their values),
the names a student looks up first shown in the HTML, every named colour's
swatch painted in the colour's own value, and every public call listed in
the cheat sheet (docs/cheatsheet.md).

Usage: reference.py SOURCE_DIR DOXYGEN
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


def text_of(element):
    return "".join(element.itertext()).strip() if element is not None else ""


def described(element):
    return bool(text_of(element.find("briefdescription")) or text_of(element.find("detaileddescription")))


def main():
    source, doxygen = sys.argv[1], sys.argv[2]
    out = tempfile.mkdtemp(prefix="kiva-reference-")
    config = (f"@INCLUDE = {source}/docs/Doxyfile\n"
              f"OUTPUT_DIRECTORY = {out}\n"
              "WARN_AS_ERROR = FAIL_ON_WARNINGS\n"
              "GENERATE_XML = YES\n")
    try:
        run = subprocess.run([doxygen, "-"], input=config, cwd=source, capture_output=True, text=True,
                             timeout=300)
    except FileNotFoundError:
        print(f"FAIL: {doxygen} not found (scripts/install-deps.sh test installs Doxygen)")
        return 1
    if run.returncode != 0 or "warning:" in run.stderr:
        print(run.stderr, end="")
        fail(f"doxygen with warnings as errors: status {run.returncode}")
        return 1

    # Every public name documented: the members of the public classes and
    # the file's own functions, variables, enumerations and their values.
    documented = {}
    xml_dir = os.path.join(out, "xml")
    for name in ("graphics_8h.xml", "classwindow.xml", "classimage.xml", "structcolor.xml"):
        root = ET.parse(os.path.join(xml_dir, name)).getroot()
        for section in root.iter("sectiondef"):
            # The named colours are described by their swatches, checked below.
            colours = text_of(section.find("header")) == "Named colours"
            for member in section.iter("memberdef"):
                if member.get("prot") != "public" or "=delete" in text_of(member.find("argsstring")):
                    continue
                label = text_of(member.find("name"))
                kind = "colour" if colours else member.get("kind")
                documented.setdefault(label, set()).add(kind)
                if not colours and not described(member):
                    fail(f"{label} ({kind}) has no description")
                for value in member.iter("enumvalue"):
                    value_name = text_of(value.find("name"))
                    documented.setdefault(value_name, set()).add("enumvalue")
                    if not described(value):
                        fail(f"{value_name} (a value of {label or 'an enumeration'}) has no description")

    # The names a student looks up first are on the file's page.
    page = open(os.path.join(out, "html", "graphics_8h.html"), encoding="utf-8").read()
    for name in ("PauseMs", "KK_CHAR", "ERR_NO_FILE", "STYLE_INVERTED", "GOLD"):
        if name not in documented:
            fail(f"{name} is not in the reference")
        elif not re.search(r">" + name + r"</(a|b)>", page):
            fail(f"{name} is not shown on the page of graphics.h")

    # Each named colour: its row, then its swatch in the same value.
    rows = re.findall(r"<b>(\w+)</b> \((\d+), (\d+), (\d+)\)</td></tr>\s*<tr class=\"memdesc:[^\"]*\">"
                      r"<td class=\"mdescLeft\">&#160;</td><td class=\"mdescRight\">"
                      r"(?:<span class=\"swatch\" style=\"background-color:rgb\((\d+),(\d+),(\d+)\)\">)?", page)
    if len(rows) != 144:
        fail(f"{len(rows)} named colours on the page of graphics.h, not 144")
    for name, *values in rows:
        if values[:3] != values[3:]:
            fail(f"the swatch of {name} is rgb({','.join(values[3:])}), its value ({', '.join(values[:3])})")

    # Every public call in the cheat sheet.
    sheet = open(os.path.join(source, "docs", "cheatsheet.md"), encoding="utf-8").read()
    calls = sorted(n for n, kinds in documented.items() if "function" in kinds and
                   n not in ("window", "image", "color", "~window", "~image", "operator="))
    for call in calls:
        if not re.search(r"\b" + re.escape(call) + r"\b", sheet):
            fail(f"{call} is not in docs/cheatsheet.md")

    if failures:
        print(f"{len(failures)} failures; the reference is in {out}")
        return 1
    print(f"The reference documents {len(documented)} public names; the cheat sheet lists all {len(calls)} calls.")
    subprocess.run(["rm", "-rf", out])
    return 0


if __name__ == "__main__":
    sys.exit(main())
