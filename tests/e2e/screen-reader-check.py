#!/usr/bin/env python3
"""Reads the main window through the accessibility bus (AT-SPI) as a screen reader does.

usage: screen-reader-check.py TITLE BROWSER_RECORD

Prints every control of the window (role and name, in tree order) and fails when one has no
name, when the edit fields are not named by their labels, when the input does not have the
focus, when the link is not a link whose action opens its address (the fake browser writes the
address it was given to BROWSER_RECORD), or when a search does not send the new texts of the
summary and the detail fields over the bus.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CONTROL_ROLES = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_LINK, pyatspi.ROLE_IMAGE, pyatspi.ROLE_ICON,
}
ROW_HOLDERS = {pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE}
EDIT_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY}
EDIT_NAMES = ["输入", "搜索摘要", "术语", "汉意", "解释", "复制文本"]

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message, file=sys.stderr)


def find_window(title, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == title:
                    return window
        time.sleep(0.1)
    return None


def controls(node, out):
    if node.getRole() in CONTROL_ROLES:
        out.append(node)
    if node.getRole() in ROW_HOLDERS:
        return out
    for child in node:
        if child is not None:
            controls(child, out)
    return out


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def check_names(items):
    for item in items:
        print("%s\t%s" % (item.getRoleName(), item.name))
        if not item.name.strip():
            fail("unnamed %s" % item.getRoleName())
    edits = [item.name for item in items if item.getRole() in EDIT_ROLES]
    if edits[: len(EDIT_NAMES)] != EDIT_NAMES:
        fail("edit fields are named %s" % edits)
    focused = [item for item in items if item.getState().contains(pyatspi.STATE_FOCUSED)]
    if [item.name for item in focused] != ["输入"]:
        fail("focus is on %s, not on the input" % [item.name for item in focused])
    if not any(item.getRole() == pyatspi.ROLE_TABLE and item.name == "结果列表" for item in items):
        fail("no result list named 结果列表")


def by_name(items, name):
    return next((item for item in items if item.name == name), None)


def check_search_is_announced(items):
    """Types a search; the summary and the detail fields must send their new text."""
    inserted = {name: "" for name in ("搜索摘要", "术语", "汉意", "解释", "复制文本")}

    def on_event(event):
        name = event.source.name if event.source is not None else None
        if name in inserted and isinstance(event.any_data, str):
            inserted[name] += event.any_data
        if all(inserted.values()):
            pyatspi.Registry.stop()

    def type_search():
        subprocess.run(["xdotool", "type", "--delay", "30", "class"], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        return False

    pyatspi.Registry.registerEventListener(on_event, "object:text-changed:insert")
    GLib.timeout_add(300, type_search)
    GLib.timeout_add(8000, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_event, "object:text-changed:insert")
    for name, text in inserted.items():
        print("text-changed\t%s\t%s" % (name, text.replace("\r", "").replace("\n", " / ")))
        if not text:
            fail("no text-changed event from %s after the search" % name)
    summary = by_name(items, "搜索摘要")
    if summary is not None and "搜索: class" not in text_of(summary):
        fail("the summary reads %r" % text_of(summary))


def check_link(items, record):
    links = [item for item in items if item.getRole() == pyatspi.ROLE_LINK]
    if len(links) != 1:
        fail("%d links" % len(links))
        return
    link = links[0]
    action = link.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    print("link actions\t%s" % names)
    if not names:
        fail("the link has no action")
        return
    address = link.description
    action.doAction(0)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        if os.path.exists(record) and address and address in open(record).read():
            return
        time.sleep(0.05)
    fail("the link's action did not open %r" % address)


def main():
    title, record = sys.argv[1], sys.argv[2]
    window = find_window(title, 15)
    if window is None:
        print("FAIL: the window is not on the accessibility bus", file=sys.stderr)
        return 1
    items = controls(window, [])
    check_names(items)
    check_search_is_announced(items)
    check_link(items, record)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
