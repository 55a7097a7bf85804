#!/usr/bin/python3
"""Checks a chapter's PDF: its text layer as pdftotext reads it, its outline,
language, title and fonts.

    pdf_text_check.py [--per-sheet N] PDF CHAPTER [LISTDIR]

The text holds no Kangxi radical or CJK radical-supplement code point (the
faces map those and the ideographs to the same glyphs) and the phrases the
chapter is looked up by. With LISTDIR (pageshot --list output, CHAPTER-pN.txt)
every Greek letter the pages draw in the Symbol face is in the text at least
as often as the pages draw it: a Symbol byte standing in for its letter ("G"
for Γ) would leave it short; and each formula of a page (CHAPTER-pN-formulas.txt,
its linear text) is in that page's text in one piece, blanks aside. No hyphen
stands for a minus sign (before a number, or between blanks). The outline has
one entry per page, in page order, named by the page's first heading, with
one entry under it per numbered heading of the page, all in single blanks;
the catalog says the language is "ja"; every font is an embedded subset.
Tagged: pdfinfo says so; the structure is one Document holding the title
(H1), each numbered heading (H2), and P, Formula, Figure elements; every
Formula has an alternative text and an actual text, every Figure an
alternative text; an English phrase in a Japanese line (maple's "Gibbs
phenomenon", cedar's "Thermodynamic Square" in its title) is a Span with
/Lang en inside its line's element; a table (maple's series) is a Table of TR rows of TD
cells, each row with the chapter's number of cells, and nothing else holds
a TR or a TD; an element in English (cedar's motto) has /Lang en, and no
element in Japanese, no formula and not the title has; nothing is drawn outside marked content (an element's or
an Artifact); the XMP metadata carry the title and the PDF/UA part. No page
holds an image: copies are drawn as vectors. With --per-sheet N (a handout
of N pages a sheet) the outline's page entries lead to sheet 1 for the first
N pages, 2 for the next N, and so on.

Exit status: 0 passed, 1 failed.
"""
import collections
import glob
import json
import os
import re
import subprocess
import sys

RADICALS = re.compile("[\u2e80-\u2eff\u2f00-\u2fdf]")
GREEK = re.compile("[\u0370-\u03ff]")
PHRASES = {
    "alder": ["Γ(ν, x)", "方法"],
    # Formulas built up by hand, read whole.
    "birch": ["S\u0307 = 1/2 r^2 \u03b8\u0307 = const", "{■(x = a cos u @ y = b sin u)┤"],
    "cedar": ["魔方陣", "(M1)", "(M4)", "Step 1", "Step 5", "(∂^2 f)/(∂x∂y) ＝ (∂^2 f)/(∂y∂x)",
              "C_p＝C_V＋(TVβ^2)/κ_T"],
    "hazel": ["(3) 誤差を比較する.", "1.26606"],
    "larch": ["格子"],
    # A table's row, and a line parted where its language changes, read whole.
    "maple": ["1 −1.09662 0.90338", "(Gibbs phenomenon) とよびます", "lim_(N→∞)S_N(π/(2N))"],
    # A letter with stacked scripts is one piece.
    "rowan": ["高速", "(5) FFT の仕組み", "次の量 X^(p)_(k,l) を定義します"],
}
# What each chapter has in English, not Japanese: whole lines, and phrases
# in a Japanese line (the title's, a term's English name).
ENGLISH = {"cedar": ["Good Physicists Have Studied Under Very Fine Teachers.", "Thermodynamic Square"],
           "maple": ["Gibbs phenomenon"]}
JAPANESE = re.compile("[\u3040-\u30ff\u3400-\u9fff\uff00-\uffef]")
# Each chapter's tables: rows and cells a row.
TABLES = {"maple": [(7, 3)]}
# How many numbered headings each chapter has.
# Each chapter's figures (graphs, drawings, a figure box copied onto the page).
FIGURES = {"alder": 2, "birch": 1, "cedar": 1, "hazel": 2, "larch": 2, "maple": 1, "rowan": 1}
HEADINGS = {"alder": 4, "birch": 8, "cedar": 9, "hazel": 6, "larch": 4, "maple": 3, "rowan": 7}


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


# Operators that draw or build a path, show text or paint an image.
DRAWING = {"m", "l", "c", "v", "y", "h", "re", "S", "s", "f", "F", "f*", "B", "B*", "b", "b*", "n",
           "Do", "sh", "BI", "Tj", "TJ", "'", '"'}
TOKEN = re.compile(rb"<<|>>|<[0-9A-Fa-f\s]*>|\[|\]|/[^\s/<>\[\]()]*|\((?:\\.|[^\\)])*\)|[^\s/<>\[\]()]+")


def tagged(pdf, info, chapter):
    failures = []
    if not re.search(r"^Tagged:\s+yes$", info, re.M):
        failures.append("pdfinfo does not say Tagged: yes")
    tree = [line for line in run("pdfinfo", "-struct", pdf).splitlines() if line.strip()]
    roots = [line.split()[0] for line in tree if not line.startswith(" ")]
    kinds = collections.Counter(line.split()[0] for line in tree)
    if roots != ["Document"]:
        failures.append(f"the structure's root is not one Document: {roots}")
    elif len(tree) < 2 or tree[1].split()[0] != "H1" or kinds["H1"] != 1:
        failures.append("the Document does not begin with its one H1")
    if kinds["H2"] != HEADINGS.get(chapter, kinds["H2"]):
        failures.append(f"{kinds['H2']} H2 elements, not one per numbered heading")
    if not kinds["P"] or not kinds["Formula"]:
        failures.append(f"no P or no Formula element: {dict(kinds)}")

    doc = json.loads(run("qpdf", "--json", "--json-key=qpdf", "--json-stream-data=none", pdf))
    objects = doc["qpdf"][1]
    english = []
    for key, obj in objects.items():
        value = obj.get("value", {})
        if not isinstance(value, dict) or value.get("/Type") != "/StructElem":
            continue
        kind = value.get("/S")
        if value.get("/Lang") == "u:en":
            said = value.get("/ActualText", "u:")[2:]
            english.append(said)
            if JAPANESE.search(said) or kind in ("/Formula", "/H1"):
                failures.append(f"a {kind} in Japanese or a formula marked English: {said!r}")
        if kind == "/Formula" and not (value.get("/Alt", "u:").strip("u:") and "/ActualText" in value):
            failures.append(f"a Formula without its alternative or actual text: {key}")
        if kind == "/Figure" and not value.get("/Alt", "u:").strip("u:"):
            failures.append(f"a Figure without an alternative text: {key}")
        # A line, heading or cell with no text reads as nothing at all.
        if kind in ("/P", "/H2", "/Span", "/TD", "/Formula") and not value.get("/ActualText", "u:x")[2:].strip():
            failures.append(f"an empty {kind} element: {key}")
    if kinds["Figure"] != FIGURES.get(chapter, 0):
        failures.append(f"{kinds['Figure']} Figure elements, not {FIGURES.get(chapter, 0)}")
    def kind_of(ref):
        return objects.get("obj:" + ref, {}).get("value", {}).get("/S") if isinstance(ref, str) else None

    tables = []
    for key, obj in objects.items():
        value = obj.get("value", {})
        if not isinstance(value, dict) or value.get("/Type") != "/StructElem":
            continue
        kind, parent = value.get("/S"), kind_of(value.get("/P"))
        kids = value.get("/K", [])
        kids = [k for k in (kids if isinstance(kids, list) else [kids]) if isinstance(k, str)]
        if kind == "/TR" and parent != "/Table" or kind in ("/TD", "/TH") and parent != "/TR":
            failures.append(f"a {kind} under a {parent}: {key}")
        if kind == "/Table":
            rows = [k for k in kids if kind_of(k) == "/TR"]
            if len(rows) + sum(kind_of(k) == "/Caption" for k in kids) != len(kids):
                failures.append(f"a Table holding more than rows and a caption: {key}")
            cells = {len([c for c in (objects["obj:" + r]["value"].get("/K") or []) if kind_of(c) in ("/TD", "/TH")])
                     for r in rows}
            tables.append((len(rows), cells.pop() if len(cells) == 1 else sorted(cells)))
    if sorted(tables) != sorted(TABLES.get(chapter, [])):
        failures.append(f"tables of (rows, cells a row) {tables}, not {TABLES.get(chapter, [])}")
    for phrase in ENGLISH.get(chapter, []):
        if not any(phrase in said for said in english):
            failures.append(f"the English {phrase!r} is not marked /Lang en")
    catalog = objects["obj:" + objects["trailer"]["value"]["/Root"]]["value"]
    if catalog.get("/MarkInfo", {}).get("/Marked") is not True:
        failures.append("the catalog has no /MarkInfo << /Marked true >>")
    meta = catalog.get("/Metadata")
    xmp = run("qpdf", f"--show-object={meta.split()[0]}", "--filtered-stream-data", pdf) if meta else ""
    title = re.search(r"^Title:\s+(.*)$", info, re.M)
    if "<pdfuaid:part>1</pdfuaid:part>" not in xmp or not title or \
            f'<rdf:li xml:lang="x-default">{title.group(1).strip()}</rdf:li>' not in xmp:
        failures.append("the XMP metadata do not carry the title and the PDF/UA part")

    # What is drawn outside any marked content, page by page.
    plain = subprocess.run(["qpdf", "--qdf", "--object-streams=disable", pdf, "-"], check=True,
                           capture_output=True).stdout
    streams = re.findall(rb"%% Contents for page \d+\n(?:%%[^\n]*\n)*\d+ 0 obj\n<<.*?>>\nstream\n(.*?)endstream", plain, re.S)
    if not streams:
        failures.append("no page contents found")
    loose = 0
    for stream in streams:
        depth = 0
        for token in TOKEN.findall(stream):
            word = token.decode("latin-1")
            if word in ("BDC", "BMC"):
                depth += 1
            elif word == "EMC":
                depth -= 1
            elif depth == 0 and word in DRAWING:
                loose += 1
    if loose:
        failures.append(f"{loose} drawing operators outside marked content")
    return failures


def main():
    args = sys.argv[1:]
    per_sheet = 1
    if args[:1] == ["--per-sheet"] and len(args) > 1 and args[1].isdigit():
        per_sheet, args = int(args[1]), args[2:]
    if len(args) not in (2, 3) or per_sheet < 1:
        sys.exit(__doc__)
    pdf, chapter = args[0], args[1]
    listdir = args[2] if len(args) == 3 else None
    failures = []

    text = run("pdftotext", "-enc", "UTF-8", pdf, "-")
    radicals = sorted(set(RADICALS.findall(text)))
    if radicals:
        failures.append("radical code points in the text: " + " ".join(f"U+{ord(c):04X}" for c in radicals))
    for phrase in PHRASES.get(chapter, []):
        if phrase not in text:
            failures.append(f"the text does not hold {phrase!r}")

    if listdir:
        drawn = collections.Counter()
        for listing in glob.glob(os.path.join(listdir, f"{chapter}-p*.txt")):
            with open(listing, encoding="utf-8") as f:
                for line in f:
                    cols = line.rstrip("\n").split("\t")
                    if cols[0] in ("text", "glyph") and cols[6].startswith("Standard Symbols PS"):
                        drawn.update(GREEK.findall(cols[-1]))
        if not drawn:
            failures.append(f"no Greek letter in the Symbol face in {listdir}/{chapter}-p*.txt")
        read = collections.Counter(GREEK.findall(text))
        short = {c: (n, read[c]) for c, n in drawn.items() if read[c] < n}
        if short:
            failures.append("Greek letters of the Symbol face missing from the text (drawn, read): " +
                            ", ".join(f"{c} {n} {m}" for c, (n, m) in sorted(short.items())))

    info = run("pdfinfo", pdf)
    pages = int(re.search(r"^Pages:\s+(\d+)$", info, re.M).group(1))

    minus = re.compile(r"(^|[\s(=,])-(?=[\d.])|\s-\s", re.M)
    for m in minus.finditer(text):
        failures.append(f"a hyphen for a minus: {text[max(0, m.start() - 20):m.end() + 20]!r}")
    if listdir:
        for n in range(pages):
            path = os.path.join(listdir, f"{chapter}-p{n}-formulas.txt")
            if not os.path.exists(path):
                failures.append(f"no {path}")
                continue
            page = re.sub(r"\s", "", run("pdftotext", "-enc", "UTF-8", "-f", str(n + 1), "-l", str(n + 1), pdf, "-"))
            with open(path, encoding="utf-8") as f:
                formulas = [line.strip() for line in f if line.strip()]
            for formula in formulas:
                if re.sub(r"\s", "", formula) not in page:
                    failures.append(f"page {n}: the formula {formula!r} is not in the text in one piece")
    title = re.search(r"^Title:\s+(.*)$", info, re.M)
    if not title or not title.group(1).strip():
        failures.append("the document has no title")

    doc = json.loads(run("qpdf", "--json", "--json-key=qpdf", "--json-key=outlines",
                         "--json-stream-data=none", pdf))
    objects = doc["qpdf"][1]
    catalog = objects["obj:" + objects["trailer"]["value"]["/Root"]]["value"]
    if catalog.get("/Lang") != "u:ja":
        failures.append(f"the catalog's language is {catalog.get('/Lang')!r}, not ja")
    outline = doc["outlines"]
    titles = [entry["title"] for entry in outline]
    sheets = [i // per_sheet + 1 for i in range(len(outline))]
    if [entry["destpageposfrom1"] for entry in outline] != sheets or (sheets and sheets[-1] != pages):
        failures.append(f"the outline does not lead to sheets 1 to {pages} in order, {per_sheet} a sheet: {titles}")
    if not titles or titles[0] != "(1) 概要":
        failures.append(f"the first outline entry is not the first page's heading: {titles[:1]}")
    headings = []
    for entry in outline:
        for kid in entry["kids"]:
            headings.append(kid["title"])
            if kid["destpageposfrom1"] != entry["destpageposfrom1"] or kid["kids"]:
                failures.append(f"the heading {kid['title']!r} is not under its page")
    numbers = [int(re.match(r"\((\d+)\)", h).group(1)) if re.match(r"\(\d+\) \S", h) else None for h in headings]
    if numbers != list(range(1, HEADINGS.get(chapter, len(numbers)) + 1)):
        failures.append(f"the outline's headings are not (1), (2), ... in order: {headings}")
    if any(not t.strip() or "  " in t or t != t.strip() for t in titles + headings):
        failures.append(f"an outline entry has no name or more than single blanks: {titles + headings}")

    fonts = run("pdffonts", pdf).splitlines()[2:]
    for font in fonts:
        if not re.match(r"[A-Z]{6}\+\S+ .* yes yes yes ", font):
            failures.append(f"a font is not an embedded subset with a text map: {font}")

    failures += tagged(pdf, info, chapter)
    images = run("pdfimages", "-list", pdf).splitlines()[2:]
    if images:
        failures.append(f"{len(images)} images: copies are to be vectors")

    for f in failures:
        print(f"FAIL: {chapter}: {f}", file=sys.stderr)
    if not failures:
        print(f"pdf_text: {chapter}: {pages} pages, outline {' | '.join(titles)}; headings {' | '.join(headings)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
