#!/usr/bin/python3
"""How the CJK faces embedded in a chapter PDF compare in size with fonttools'
pyftsubset cutting the same glyphs from the same face.

    font_subset_compare.py PDF...

For every embedded CID-keyed CFF font whose name names Noto Sans CJK: its
font program's length in the PDF (Flate-compressed, as written), the
characters its ToUnicode map gives for its glyphs, and the same characters
cut from the installed face by pyftsubset (no layout closure, no layout
tables), its CFF table compressed with zlib at level 9 as the PDF's streams
are. Needs fonttools (Debian's fonttools package); the
project's own scripts do not install it, as nothing else needs it.
"""
import io
import re
import subprocess
import sys
import tempfile
import zlib

from fontTools.cffLib import CFFFontSet
from fontTools.ttLib import TTCollection, TTFont

FACES = {
    "NotoSansCJKjp-Regular": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Noto Sans CJK JP"),
    "NotoSansCJKjp-Bold": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", "Noto Sans CJK JP"),
    "NotoSansMonoCJKjp-Regular": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Noto Sans Mono CJK JP"),
}


def qpdf(*args):
    return subprocess.run(["qpdf", *args], check=True, capture_output=True).stdout


def font_number(path, family):
    for i, font in enumerate(TTCollection(path).fonts):
        if font["name"].getDebugName(1) == family:
            return i
    raise SystemExit(f"{family} is not in {path}")


def embedded(pdf):
    """(face, compressed length, CFF bytes) of each embedded Noto CJK font."""
    out = []
    for line in subprocess.run(["pdffonts", pdf], check=True, capture_output=True, text=True).stdout.splitlines()[2:]:
        name = line.split()[0]
        face = name.split("+")[-1]
        if face not in FACES:
            continue
        obj = line.split()[-2]
        descendant = re.search(rb"/DescendantFonts \[ *(\d+) 0 R", qpdf(f"--show-object={obj}", pdf)).group(1)
        descriptor = re.search(rb"/FontDescriptor (\d+) 0 R", qpdf(f"--show-object={descendant.decode()}", pdf)).group(1)
        program = re.search(rb"/FontFile3 (\d+) 0 R", qpdf(f"--show-object={descriptor.decode()}", pdf)).group(1).decode()
        raw = qpdf(f"--show-object={program}", "--raw-stream-data", pdf)
        cff = qpdf(f"--show-object={program}", "--filtered-stream-data", pdf)
        cmap = re.search(rb"/ToUnicode (\d+) 0 R", qpdf(f"--show-object={obj}", pdf)).group(1).decode()
        out.append((face, len(raw), cff, qpdf(f"--show-object={cmap}", "--filtered-stream-data", pdf)))
    return out


def characters_of(cmap):
    """The characters a ToUnicode map gives its glyphs."""
    chars = set()
    text = cmap.decode("latin-1")
    for block in re.findall(r"beginbfchar(.*?)endbfchar", text, re.S):
        for _, uni in re.findall(r"<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>", block):
            chars.update(bytes.fromhex(uni).decode("utf-16-be"))
    for block in re.findall(r"beginbfrange(.*?)endbfrange", text, re.S):
        for lo, hi, uni in re.findall(r"<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>", block):
            first = ord(bytes.fromhex(uni).decode("utf-16-be"))
            chars.update(chr(first + i) for i in range(int(hi, 16) - int(lo, 16) + 1))
    return "".join(sorted(chars))


def glyph_count(cff):
    fonts = CFFFontSet()
    fonts.decompile(io.BytesIO(cff), None)
    return len(fonts[fonts.fontNames[0]].charset)


def main():
    print("| chapter | face | glyphs (PDF / pyftsubset) | in the PDF | pyftsubset | PDF / pyftsubset |")
    print("|---|---|---|---|---|---|")
    for pdf in sys.argv[1:]:
        chapter = pdf.rsplit("/", 1)[-1].removesuffix(".pdf")
        for face, length, cff, cmap in embedded(pdf):
            chars = characters_of(cmap)
            path, family = FACES[face]
            with tempfile.NamedTemporaryFile(suffix=".otf") as cut:
                subprocess.run(["pyftsubset", path, f"--font-number={font_number(path, family)}",
                                "--text=" + chars, "--no-layout-closure", "--layout-features=",
                                "--notdef-outline", f"--output-file={cut.name}"], check=True, capture_output=True)
                font = TTFont(cut.name)
                table = font.reader["CFF "]
                theirs_glyphs = len(font.getGlyphOrder())
            theirs = len(zlib.compress(table, 9))
            print(f"| {chapter} | {face} | {glyph_count(cff)} / {theirs_glyphs} | {length / 1024:.1f} KB | "
                  f"{theirs / 1024:.1f} KB | {length / theirs:.2f} |")


if __name__ == "__main__":
    main()
