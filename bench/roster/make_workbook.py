"""Writes the class-list workbook the import benchmark reads: a header and ROWS trainees
(name, 18-character ID number with a right check character, class), with openpyxl.
Usage: make_workbook.py OUT ROWS"""
import sys

import openpyxl

WEIGHTS = [7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2]
SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华"

out, rows = sys.argv[1], int(sys.argv[2])
book = openpyxl.Workbook(write_only=True)
sheet = book.create_sheet("学员名单")
sheet.append(["姓名", "身份证号码", "班级"])
for i in range(rows):
    first17 = f"110105{1960 + i % 40:04d}{1 + i % 12:02d}{1 + i % 28:02d}{i % 1000:03d}"
    check = "10X98765432"[sum(int(c) * w for c, w in zip(first17, WEIGHTS)) % 11]
    name = SURNAMES[i % len(SURNAMES)] + GIVEN[i // len(SURNAMES) % len(GIVEN)] + GIVEN[i % len(GIVEN)]
    sheet.append([name, first17 + check, f"{1 + i % 20}班"])
book.save(out)
