#!/usr/bin/python3
"""Reads a running application's documents over AT-SPI, as a screen reader
would: waits until APP is on the accessibility bus with a document shown,
then prints one JSON object per document, {"name", "showing", "text"}.

    atspi_read.py APP [SECONDS]

Exit status: 0 when a shown document was found, 1 when not in time.
"""
import json
import sys
import time

import pyatspi


def documents(acc):
    if acc is None:
        return
    if acc.getRole() in (pyatspi.ROLE_DOCUMENT_FRAME, pyatspi.ROLE_DOCUMENT_TEXT):
        yield acc
    for i in range(acc.childCount):
        yield from documents(acc.getChildAtIndex(i))


def read(app_name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None or app.name != app_name:
            continue
        found = []
        for doc in documents(app):
            text = doc.queryText()
            found.append({"name": doc.name,
                          "showing": doc.getState().contains(pyatspi.STATE_SHOWING),
                          "text": text.getText(0, text.characterCount)})
        return found
    return []


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    deadline = time.time() + (float(sys.argv[2]) if len(sys.argv) == 3 else 30)
    while True:
        found = read(sys.argv[1])
        if any(d["showing"] and d["text"] for d in found) or time.time() > deadline:
            break
        time.sleep(0.3)
    for d in found:
        print(json.dumps(d, ensure_ascii=False))
    return 0 if any(d["showing"] for d in found) else 1


if __name__ == "__main__":
    sys.exit(main())
