#!/usr/bin/env python3
"""I/O errors injected (strace -e inject) into the record's sync, the folder's sync and link, and the read of a
journal: a save shown as failed left the logs (and the journal) exactly as they were (a new log does not
exist), a save shown as saved holds its record, and one more save adds exactly one record. A folder its user may write but not read (mode 0300) saves.
Usage: injected_errors_test.py <save_once>"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import csv_log  # noqa: E402

driver = sys.argv[1]
if shutil.which("strace") is None:
    print("SKIP: strace is not installed")
    sys.exit(77)

# (injection, whether the log exists before, user): every sync and link a save makes, in turn.
cases = [(f"fdatasync:error=EIO:when={n}", exists, None) for n in (1, 2, 3) for exists in (False, True)]
cases += [(f"fsync:error=EIO:when={n}", exists, None) for n in (1, 2, 3) for exists in (False, True)]
cases += [("linkat:error=EIO", False, None), ("linkat:error=EPERM", False, None),
          ("linkat:error=EXDEV", False, None)]
if os.geteuid() == 0:
    cases += [(None, exists, "nobody") for exists in (False, True)]
else:
    print("SKIPPED: the folder of mode 0300 (needs root to save as another user)")

work = csv_log.scratch()
os.chmod(work, 0o755)
folder = os.path.join(work, "records")
log = os.path.join(folder, "T146.csv")
problems = []
try:
    csv_log.save(driver, folder)
    one = open(log, "rb").read()
    csv_log.save(driver, folder, count=2)
    three = open(log, "rb").read()
    csv_log.save(driver, folder)
    record = open(log, "rb").read()[len(three):]
    for injection, exists, user in cases:
        shutil.rmtree(folder)
        os.makedirs(folder)
        if exists:
            open(log, "wb").write(three)
        if user is not None:
            os.chown(work, 65534, 65534)
            os.chown(folder, 65534, 65534)
            if exists:
                os.chown(log, 65534, 65534)
            os.chmod(folder, 0o300)
        whole = (three if exists else one)
        prefix = ["strace", "-f", "-o", "/dev/null", "-e", f"trace={injection.split(':')[0]}", "-e", f"inject={injection}"] \
            if injection else ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
        saved = csv_log.save(driver, folder, prefix=prefix) == 0
        os.chmod(folder, 0o700)
        name = f"{injection or 'folder mode 0300'}, {'existing' if exists else 'new'} log"
        after = open(log, "rb").read() if os.path.exists(log) else None
        if saved and after != whole + (record if exists else b""):
            problems.append(f"{name}: shown saved, but the record is not there once")
        if not saved and after != (three if exists else None):
            problems.append(f"{name}: shown failed, but the log changed")
        if user is not None and not saved:
            problems.append(f"{name}: refused")
        if csv_log.save(driver, folder) != 0 or open(log, "rb").read() != whole + record * (saved + exists):
            problems.append(f"{name}: the next save did not add exactly one record")
        csv_log.only_logs(folder)
        print(f"{name}: {'saved' if saved else 'failed, log as it was'}; the next save added one record")
    # A read error on a journal beside the log fails the save and keeps the journal: its repair is not dropped.
    shutil.rmtree(folder)
    os.makedirs(folder)
    open(log, "wb").write(three)
    journal = log + ".journal"
    open(journal, "wb").write(b"garbage\n")
    traced = subprocess.run(["strace", "-f", "-y", "-e", "trace=read", driver, folder, "1"], capture_output=True,
                            text=True, errors="replace").stderr.splitlines()
    reads = [line for line in traced if "read(" in line]
    at = next(i for i, line in enumerate(reads) if ".journal>" in line) + 1
    open(log, "wb").write(three)
    open(journal, "wb").write(b"garbage\n")
    injected = ["strace", "-f", "-o", "/dev/null", "-e", "trace=read", "-e", f"inject=read:error=EIO:when={at}"]
    if csv_log.save(driver, folder, prefix=injected) == 0:
        problems.append("a journal that could not be read: shown saved")
    if open(log, "rb").read() != three or open(journal, "rb").read() != b"garbage\n":
        problems.append("a journal that could not be read: the log or the journal changed")
    if csv_log.save(driver, folder) != 0 or open(log, "rb").read() != three + record:
        problems.append("a journal that could not be read: the next save did not add exactly one record")
    csv_log.only_logs(folder)
    print(f"read of the journal (read {at}): failed, log and journal as they were; the next save added one record")
finally:
    shutil.rmtree(work)
for problem in problems:
    print("FAIL:", problem)
sys.exit(1 if problems else 0)
