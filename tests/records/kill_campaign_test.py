#!/usr/bin/env python3
"""Processes saving into one log, new at the start, while some are killed at random moments, for a bounded
time: read as RFC 4180, every record is whole, every save of the processes left alone is there, and the
folder holds only the log. Usage: kill_campaign_test.py <save_once>"""
import os
import random
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import csv_log  # noqa: E402

driver = sys.argv[1]
steady_saves = 150
campaign_seconds = 8
work = csv_log.scratch()
folder = os.path.join(work, "records")
log = os.path.join(folder, "T146.csv")
random.seed(20261209)
problems = []
try:
    def start(count):
        return subprocess.Popen([driver, folder, str(count)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    steady = [start(steady_saves) for _ in range(2)]
    victims = [start(10 ** 9) for _ in range(3)]
    kills = 0
    end = time.monotonic() + campaign_seconds
    while time.monotonic() < end:
        time.sleep(random.uniform(0, 0.03))
        i = random.randrange(len(victims))
        victims[i].send_signal(signal.SIGKILL)
        victims[i].wait()
        victims[i] = start(10 ** 9)
        kills += 1
    for victim in victims:
        victim.send_signal(signal.SIGKILL)
        victim.wait()
    for saver in steady:
        if saver.wait(timeout=60) != 0:
            problems.append("a save of a process left alone failed")
    if csv_log.save(driver, folder) != 0:  # the save after the last kill
        problems.append("the save after the campaign failed")
    rows = csv_log.rows(log)
    record = rows[-1]
    torn = [r for r in rows[1:] if r != record]
    if torn:
        problems.append(f"{len(torn)} rows not whole, the first: {torn[0]}")
    if len(rows) - 1 < 2 * steady_saves + 1:
        problems.append(f"{len(rows) - 1} records, fewer than the {2 * steady_saves + 1} reported")
    csv_log.only_logs(folder)
    print(f"{kills} kills over {campaign_seconds} s: {len(rows) - 1} whole records, nothing else in the folder")
finally:
    shutil.rmtree(work)
for problem in problems:
    print("FAIL:", problem)
sys.exit(1 if problems else 0)
