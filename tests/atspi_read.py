#!/usr/bin/python3
"""Reads a running application's documents over AT-SPI, as a screen reader
would: waits until APP is on the accessibility bus with a document shown,
then prints one JSON object per document, {"name", "showing", "focused",
"text"}. With --press NAME it first presses APP's push button of that name
through its action interface, as a screen reader's user would.

    atspi_read.py [--press NAME] APP [SECONDS]

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
                          "focused": doc.getState().contains(pyatspi.STATE_FOCUSED),
                          "text": text.getText(0, text.characterCount)})
        return found
    return []


def buttons(acc):
    if acc is None:
        return
    if acc.getRole() == pyatspi.ROLE_PUSH_BUTTON:
        yield acc
    for i in range(acc.childCount):
        yield from buttons(acc.getChildAtIndex(i))


def press(app_name, button_name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None or app.name != app_name:
            continue
        for b in buttons(app):
            if b.name == button_name:
                action = b.queryAction()
                for k in range(action.nActions):
                    if action.getName(k).lower() == "press":
                        return action.doAction(k)
    return False


def seen(app_name):
    """What APP shows, as (role, name) pairs, for a failure's message."""
    out = []
    def walk(acc):
        if acc is None:
            return
        out.append((acc.getRoleName(), acc.name))
        for i in range(acc.childCount):
            walk(acc.getChildAtIndex(i))
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == app_name:
            walk(app)
    return out


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--press":
        if not press(sys.argv[3], sys.argv[2]):
            sys.exit("no button [%s] to press among %s" % (sys.argv[2], seen(sys.argv[3])))
        time.sleep(0.5)
        del sys.argv[1:3]
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
