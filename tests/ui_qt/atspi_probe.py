#!/usr/bin/python3
"""Reads the running ABCD2 window through AT-SPI, as a screen reader does: the frame, every field's name and
description, the report box, the buttons, the verdict and status lines; asks each field for words at every
offset; then, once a field has the focus, presses F5 and waits for the notification that carries the verdict.
Prints what fails; exits 0 when all holds. Every wait is for a state, bounded."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

LABELS = ["年龄", "收缩压", "舒张压", "症状(2单侧无力/1言语/0其他)", "持续时间(0<10min/1 10-59/2≥60)", "糖尿病(1/0)"]
DESCRIPTIONS = ["岁；0 至 130 之间的数", "mmHg；40 至 300 之间的数", "mmHg；20 至 200 之间的数", "0、1 或 2", "0、1 或 2",
                "0 或 1"]
BUTTONS = ["计算 (F5)", "保存记录", "复制结果", "清空重填", "关于"]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def wait_until(condition, deadline):
    while not condition():
        if time.time() > deadline:
            return False
        time.sleep(0.05)
    return True


def frame_on_bus():
    for app in pyatspi.Registry.getDesktop(0):
        for child in app if app is not None else []:
            if child is not None and child.name == "ABCD2 评分":
                return child
    return None


def descendants(node, depth=0):
    if depth > 8:
        return
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child, depth + 1)


def main():
    frame = None

    def found():
        nonlocal frame
        frame = frame_on_bus()
        return frame is not None

    if not wait_until(found, time.time() + 20):
        print("FAIL the window is not on the accessibility bus")
        return 1
    check(frame.getRole() == pyatspi.ROLE_FRAME, "the window's role is %s, not frame" % frame.getRoleName())
    nodes = list(descendants(frame))
    by_role = {}
    for node in nodes:
        by_role.setdefault(node.getRole(), []).append(node)
    fields = [n for n in nodes if n.getRole() in (pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT) and n.name in LABELS]
    check([f.name for f in fields] == LABELS, "field names %s" % [f.name for f in fields])
    check([f.description for f in fields] == DESCRIPTIONS, "field descriptions %s" % [f.description for f in fields])
    check(any(n.name == "计算结果" and n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY) for n in nodes),
          "no report box named 计算结果")
    buttons = [n.name for n in by_role.get(pyatspi.ROLE_PUSH_BUTTON, [])]
    check(buttons == BUTTONS, "buttons %s" % buttons)
    labels = [n.name for n in by_role.get(pyatspi.ROLE_LABEL, [])]
    check("填写左侧参数，点击“计算”" in labels, "no verdict line among %s" % labels)
    check("就绪：填写参数后按 F5 或点击“计算”" in labels, "no status line among %s" % labels)

    # What Orca asks on Ctrl+Left and Ctrl+Right; each call is answered or the D-Bus call times out.
    for field in fields:
        text = field.queryText()
        for offset in range(text.characterCount + 1):
            for boundary in (pyatspi.TEXT_BOUNDARY_WORD_START, pyatspi.TEXT_BOUNDARY_CHAR,
                             pyatspi.TEXT_BOUNDARY_LINE_START, pyatspi.TEXT_BOUNDARY_SENTENCE_START):
                text.getTextAtOffset(offset, boundary)
                text.getTextBeforeOffset(offset, boundary)
                text.getTextAfterOffset(offset, boundary)

    said = []

    def on_showing(event):
        if event.detail1 and event.source is not None and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            said.append(event.source.name)
            if "低危，门诊随访" in said:
                pyatspi.Registry.stop()

    # The window is given the keyboard (there is no window manager to do so), and F5 goes to the field that
    # has the focus once the listener listens.
    window = []

    def shown():
        # A new xdotool each time: one ends at once when a window it reads vanishes.
        window[:] = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^ABCD2 评分$"],
                                   capture_output=True, text=True).stdout.split()[:1]
        return bool(window)

    check(wait_until(shown, time.time() + 20), "the window is not shown")
    subprocess.call(["xdotool", "windowfocus", "--sync"] + window)
    check(wait_until(lambda: any(f.getState().contains(pyatspi.STATE_FOCUSED) for f in fields), time.time() + 20),
          "no field has the focus")
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    GLib.idle_add(lambda: subprocess.call(["xdotool", "key", "F5"]) and False)
    GLib.timeout_add(10000, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    check("低危，门诊随访" in said, "after F5 the notifications said %s" % said)

    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("ok: %d objects, %d fields, the notification said %s" % (len(nodes), len(fields), said))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
