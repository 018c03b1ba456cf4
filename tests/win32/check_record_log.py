#!/usr/bin/env python3
"""Reads the CSV log as a spreadsheet would (RFC 4180) and checks its mark, header and the ABCD2 records.
Usage: check_record_log.py <T146.csv> <records expected> [age systolic diastolic symptom duration diabetes score]
Without the values, every record must be the one the window check saves."""
import csv
import io
import re
import sys

path, expected = sys.argv[1], int(sys.argv[2])
age, systolic, diastolic, symptom, duration, diabetes, score = sys.argv[3:10] or ["60", "150", "80", "1", "2", "0", "5"]
raw = open(path, "rb").read()
problems = []
if not raw.startswith(b"\xef\xbb\xbf"):
    problems.append("no byte-order mark")
if raw.count(b"\xef\xbb\xbf") != 1:
    problems.append("more than one byte-order mark")
rows = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
header = ["时间", "工具", "年龄", "收缩压", "舒张压", "症状(2单侧无力/1言语/0其他)", "持续时间(0<10min/1 10-59/2≥60)",
          "糖尿病(1/0)", "结果"]
if not rows or rows[0] != header:
    problems.append(f"header {rows[:1]}")
records = rows[1:]
if len(records) != expected:
    problems.append(f"{len(records)} records, expected {expected}")
for record in records:
    cells = ["ABCD2 评分", f"年龄={age}", f"收缩压={systolic}", f"舒张压={diastolic}",
             f"症状(2单侧无力/1言语/0其他)={symptom}", f"持续时间(0<10min/1 10-59/2≥60)={duration}",
             f"糖尿病(1/0)={diabetes}", f"ABCD2：{score} 分\r\n"]
    if len(record) != 9 or not re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", record[0]) or record[1:] != cells:
        problems.append(f"record {record}")
for problem in problems:
    print("check_record_log:", problem)
sys.exit(1 if problems else 0)
