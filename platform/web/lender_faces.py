"""Chooses the faces a page carries to lend characters its own faces lack,
from fontconfig's answers on the build machine (platform/web/web.cmake).

For each face a page embeds (the rows of faces.txt whose file is in the
fonts folder), fontconfig's list of every face sorted by nearness to its
family and style is asked for (fc-match -a, the list the Linux build looks
characters up in); for each character of PROBES the base face lacks, the
first outline face of that list that has it, not drawn in colours, is a
lender. The lenders' files are copied into LENDERS, and LENDERS/lenders.txt
lists for each base face its lenders, nearest first:
    FAMILY <tab> BOLD <tab> ITALIC <tab> FILE <tab> INDEX <tab> LENDER-FAMILY <tab> WEIGHT <tab> SLANT
(FAMILY, BOLD, ITALIC: the base face's family and style, BOLD and ITALIC 0
or 1; the rest: the lender as fontconfig describes it, FILE as the page
sees it).

    lender_faces.py FONTS LENDERS PAGE-FOLDER
"""

import os
import shutil
import subprocess
import sys

# Characters students put in their text beyond the Latin faces': Chinese,
# Japanese and Korean, ticks and crosses, stars, card suits, arrows,
# mathematics, the euro sign, faces and hearts.
PROBES = "漢字中文かなカナ한글✓✔✗✘★☆♥♦♣♠→←↑↓⇒∞≈≠≤≥√∑∫€😀😂👍❤☺"
FC_WEIGHT_DEMIBOLD = 180
FC_SLANT_ROMAN = 0
FIELDS = "%{file}\t%{index}\t%{family[0]}\t%{weight}\t%{slant}\t%{outline}\t%{color}\t%{charset}\n"


def ranges(charset):
    """fontconfig's charset text ("20-7e a0 ...") as (first, last) pairs."""
    out = []
    for part in charset.split():
        first, _, last = part.partition("-")
        out.append((int(first, 16), int(last or first, 16)))
    return out


def has(charset, point):
    return any(first <= point <= last for first, last in charset)


def sorted_faces(family, bold, italic):
    pattern = f"{family}:weight={200 if bold else 80}:slant={100 if italic else 0}:scalable=true"
    out = subprocess.run(["fc-match", "-a", "-f", FIELDS, pattern], capture_output=True, text=True, check=True)
    faces = []
    for line in out.stdout.splitlines():
        f = line.split("\t")
        if len(f) != 8:
            continue
        faces.append({"file": f[0], "index": int(f[1] or 0), "family": f[2], "weight": f[3], "slant": f[4],
                      "usable": f[5] == "True" and f[6] != "True", "charset": ranges(f[7])})
    return faces


def main(fonts, lenders, page_folder):
    bases = []
    with open(os.path.join(fonts, "faces.txt"), encoding="utf-8") as table:
        for line in table:
            f = line.rstrip("\n").split("\t")
            if len(f) != 8 or not os.path.exists(os.path.join(fonts, os.path.basename(f[3]))):
                continue
            base = (f[5], int(f[6]) >= FC_WEIGHT_DEMIBOLD, int(f[7]) != FC_SLANT_ROMAN, os.path.basename(f[3]))
            if base not in bases:
                bases.append(base)
    if os.path.isdir(lenders):
        shutil.rmtree(lenders)
    os.makedirs(lenders)
    rows = []
    for family, bold, italic, file in bases:
        faces = sorted_faces(family, bold, italic)
        own = next((face for face in faces if os.path.basename(face["file"]) == file), None)
        chosen = []
        for point in map(ord, PROBES):
            if own is not None and has(own["charset"], point):
                continue
            lender = next((face for face in faces if face is not own and face["usable"] and
                           has(face["charset"], point)), None)
            if lender is not None and lender not in chosen:
                chosen.append(lender)
        # Nearest first, as the sorted list has them.
        for face in sorted(chosen, key=faces.index):
            name = os.path.basename(face["file"])
            if not os.path.exists(os.path.join(lenders, name)):
                shutil.copy(face["file"], lenders)
            rows.append("\t".join([family, str(int(bold)), str(int(italic)), f"{page_folder}/{name}",
                                   str(face["index"]), face["family"], face["weight"], face["slant"]]))
    with open(os.path.join(lenders, "lenders.txt"), "w", encoding="utf-8") as table:
        table.write("".join(row + "\n" for row in rows))


if __name__ == "__main__":
    main(*sys.argv[1:4])
