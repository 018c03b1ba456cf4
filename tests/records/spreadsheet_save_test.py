#!/usr/bin/env python3
"""A spreadsheet that has the log open and then saves it over the log, as users do: LibreOffice Calc, run
headless and driven over UNO, beside one window's session of saves. While its lock file stands a save fails as
busy and leaves the log as it was; the sheet is stored keeping the text format (LibreOffice writes it anew,
without the mark, with LF); once the sheet is closed the next save goes on into T146.csv, and every record
shown saved is in it exactly once.
Usage: spreadsheet_save_test.py <save_session>"""
import csv
import io
import os
import shutil
import signal
import subprocess
import sys
import time

try:
    import uno
    import unohelper
except ImportError:
    # Debian's bridge is built for the system's interpreter, which need not be the first python3 on PATH.
    system = "/usr/bin/python3"
    if os.access(system, os.X_OK) and os.path.realpath(sys.executable) != os.path.realpath(system):
        os.execv(system, [system, *sys.argv])
    print("SKIP: LibreOffice's Python bridge is not installed (python3-uno)")
    sys.exit(77)
from com.sun.star.beans import PropertyValue  # noqa: E402
from com.sun.star.task import XInteractionHandler  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import csv_log  # noqa: E402

if shutil.which("soffice") is None:
    print("SKIP: LibreOffice Calc is not installed (libreoffice-calc)")
    sys.exit(77)

BUSY = "记录文件正被其他程序占用，请关闭该程序后重试。"
SAVED = "已保存"
BOUND = 3.0  # seconds a save may take, busy or not
# How the text filter reads and writes the log: comma, double quote, UTF-8, from the first line.
CSV_FILTER = "Text - txt - csv (StarCalc)"
CSV_OPTIONS = "44,34,76,1"

driver = sys.argv[1]
work = csv_log.scratch()
folder = os.path.join(work, "records")
log = os.path.join(folder, "T146.csv")
lock = os.path.join(folder, ".~lock.T146.csv#")
problems = []


def records(path):
    """The log's rows as a spreadsheet reads them, mark or not. Its writer ends the lines inside a cell with
    LF where ours wrote CR LF, which is the same text to a reader, so line ends are compared as LF."""
    text = open(path, encoding="utf-8-sig", newline="").read()
    return [tuple(cell.replace("\r\n", "\n") for cell in row) for row in csv.reader(io.StringIO(text, newline=""))]


class Session:
    """One save_session process: one window that keeps what it saved between its saves."""

    def __init__(self):
        self.process = subprocess.Popen([driver, folder], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, encoding="utf-8")
        self.age = 60
        self.shown_saved = []  # the rows each save shown saved put into the log

    def save(self):
        """Saves once; returns (caption, text, status) and notes the record when it was shown saved."""
        age, self.age = self.age, self.age + 1
        start = time.monotonic()
        self.process.stdin.write("save\n")
        self.process.stdin.flush()
        answer = [self.process.stdout.readline().rstrip("\n") for _ in range(3)]
        took = time.monotonic() - start
        if took > BOUND:
            problems.append(f"the save of age {age} took {took:.1f} s, over the {BOUND:.0f} s bound")
        caption, text, status = (line.split(" ", 1)[1] if " " in line else "" for line in answer)
        if caption == SAVED:
            mine = [row for row in records(log) if f"年龄={age}" in row] if os.path.exists(log) else []
            if len(mine) != 1:
                problems.append(f"the save of age {age} was shown saved ({status}), but T146.csv holds "
                                f"{len(mine)} records of it")
            self.shown_saved += mine[:1]
        return caption, text, status

    def end(self):
        self.process.communicate("quit\n", timeout=60)


class AnswerYes(unohelper.Base, XInteractionHandler):
    """The user who answers every question of the sheet with yes: "save anyway" when the log changed since the
    sheet read it."""

    def handle(self, request):
        for choice in request.getContinuations():
            if any(t.typeName == "com.sun.star.task.XInteractionApprove" for t in choice.getTypes()):
                choice.select()
                return


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


PIPE = f"ovra_sheet_{os.getpid()}"


def start_office():
    """A headless LibreOffice with a profile of its own, in a process group of its own."""
    return subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
                             f"-env:UserInstallation={uno.systemPathToFileUrl(os.path.join(work, 'profile'))}",
                             f"--accept=pipe,name={PIPE};urp;"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)


def desktop_of(office):
    """The office's desktop, once it answers over its pipe."""
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + 120  # a first start makes the profile
    while True:
        try:
            context = resolver.resolve(f"uno:pipe,name={PIPE};urp;StarOffice.ComponentContext")
            break
        except Exception:
            if office.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("LibreOffice did not answer on its pipe")
            time.sleep(0.1)
    return context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)


def end_office(office, desktop):
    try:
        if desktop is not None:
            desktop.terminate()
        office.wait(timeout=60)
    except Exception:
        pass
    if office.poll() is None:
        os.killpg(office.pid, signal.SIGKILL)
        office.wait()


os.makedirs(folder)
session = Session()
office = desktop = None
try:
    for _ in range(2):
        if session.save()[0] != SAVED:
            raise AssertionError("the saves before the sheet was opened failed")
    office = start_office()
    desktop = desktop_of(office)
    sheet = desktop.loadComponentFromURL(uno.systemPathToFileUrl(log), "_blank", 0,
                                         (prop("FilterName", CSV_FILTER), prop("FilterOptions", CSV_OPTIONS),
                                          prop("Hidden", True), prop("InteractionHandler", AnswerYes())))
    if not os.path.isfile(lock):
        problems.append("LibreOffice has the log open, but no .~lock.T146.csv# stands beside it")

    before = open(log, "rb").read()
    caption, text, status = session.save()
    if caption == SAVED or BUSY not in text:
        problems.append(f"a save while the sheet is open was not refused as busy: {caption} / {text} / {status}")
    # The notice names the lock file and who holds it, as the lock file says, so a stale one can be recognised.
    user, host = open(lock, encoding="utf-8").read().split(",")[1:3]
    if f"锁文件：{lock}（{user}@{host}）" not in text:
        problems.append(f"the busy notice does not name the lock file and its holder: {text}")
    if open(log, "rb").read() != before:
        problems.append("a save while the sheet is open changed the log")

    identity = os.stat(log).st_ino
    sheet.store()  # what answering "keep the current format" does
    if os.stat(log).st_ino == identity and open(log, "rb").read() == before:
        problems.append("the sheet was not stored over the log")
    sheet.close(True)
    if os.path.exists(lock):
        problems.append("the sheet is closed, but its lock file still stands")

    caption, text, status = session.save()
    if caption != SAVED:
        problems.append(f"a save after the sheet was closed failed: {caption} / {text} / {status}")
    session.end()
    try:
        csv_log.only_logs(folder)
    except AssertionError as error:
        problems.append(f"the saves went elsewhere or left files: {error}")
    final = records(log)
    for row in session.shown_saved:
        if final.count(row) != 1:
            problems.append(f"the record {row[2]}, shown saved, is in the log {final.count(row)} times")
finally:
    if office is not None:
        end_office(office, desktop)
    if session.process.poll() is None:
        session.process.kill()
    shutil.rmtree(work, ignore_errors=True)

for problem in problems:
    print("FAIL:", problem)
if problems:
    sys.exit(1)
print(f"spreadsheet: busy while open, {len(session.shown_saved)} records shown saved all in T146.csv once "
      "after the sheet was stored over it")
