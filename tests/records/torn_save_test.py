#!/usr/bin/env python3
"""A save killed at every byte of its record (the file-size limit ends it there, deterministically), then two
saves: read as RFC 4180, the log holds every reported record whole, in order, and nothing else; the folder
holds only the log. For ABCD2 and for the nurse roster, whose report cell runs over many lines.
Usage: torn_save_test.py <save_once> <save_once of tool 201>"""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import csv_log  # noqa: E402

failures = []


def check(driver, tool, log_name, first_save_step):
    work = csv_log.scratch()
    folder = os.path.join(work, "records")
    log = os.path.join(folder, log_name)
    try:
        assert csv_log.save(driver, folder) == 0
        base = open(log, "rb").read()
        header, record = csv_log.rows(log)
        assert csv_log.save(driver, folder) == 0
        size = len(open(log, "rb").read()) - len(base)
        # (log before, bytes the killed save may write, how many whole records were there before)
        cases = [(base, limit, 1) for limit in range(len(base), len(base) + size)]
        cases += [(None, limit, 0) for limit in range(0, len(base), first_save_step)]
        for before, limit, kept in cases:
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
            if before is not None:
                open(log, "wb").write(before)
            ended = csv_log.save(driver, folder, limit=limit)
            if ended == 0:
                failures.append(f"{tool}: limit {limit}: the save was not stopped")
                continue
            if csv_log.save(driver, folder, count=2) != 0:
                failures.append(f"{tool}: limit {limit}: a later save failed")
                continue
            got = csv_log.rows(log)
            if got != [header] + [record] * (kept + 2):
                failures.append(f"{tool}: killed at byte {limit - len(before or b'')}: {len(got) - 1} rows, "
                                f"{sum(r != record for r in got[1:])} not whole")
            csv_log.only_logs(folder, [log_name])
        print(f"{tool}: killed at each of {size} bytes of a record and every {first_save_step}th of a new log: "
              f"{len(cases)} kills")
    finally:
        shutil.rmtree(work)


check(sys.argv[1], "ABCD2", "T146.csv", 3)
check(sys.argv[2], "nurse roster", "T201.csv", 5)
for failure in failures[:20]:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
