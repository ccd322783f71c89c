"""Writes the workbooks the .xlsx reader's tests read, with two real spreadsheet writers:
openpyxl (strings inline, a number where the ID number should be, a second sheet that must be
ignored, the first sheet moved into the part xl/worksheets/sheet2.xml) and XlsxWriter (shared
strings, a rich-text name, a boolean, a cell far to the right).
Usage: make_workbooks.py OUTDIR"""
import os
import re
import sys
import zipfile

import openpyxl
import xlsxwriter

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def swap_first_two_sheet_parts(path):
    """The first sheet's part becomes sheet2.xml and the second's sheet1.xml; the workbook's
    relationships follow, so only a reader that follows them finds the first sheet."""
    parts = {}
    with zipfile.ZipFile(path) as z:
        order = z.namelist()
        for name in order:
            parts[name] = z.read(name)
    one, two = "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"
    parts[one], parts[two] = parts[two], parts[one]
    rels = "xl/_rels/workbook.xml.rels"
    text = parts[rels].decode()
    text = text.replace("/sheet1.xml", "/@@").replace("/sheet2.xml", "/sheet1.xml").replace("/@@", "/sheet2.xml")
    text = text.replace('"sheet1.xml', '"@@').replace('"sheet2.xml', '"sheet1.xml').replace('"@@', '"sheet2.xml')
    parts[rels] = text.encode()
    with zipfile.ZipFile(path + ".part", "w", zipfile.ZIP_DEFLATED) as z:
        for name in order:
            z.writestr(name, parts[name])
    os.replace(path + ".part", path)


book = openpyxl.Workbook()
sheet = book.active
sheet.title = "学员名单"
sheet.append(["2025年春季班学员名单"])
sheet.append(["姓名", None, "身份证号码", "班级"])
sheet.append(["张三", None, "11010519491231002X", "一班"])
sheet.append([" 李四 ", None, 1.1010519491231002e17, 3])      # an ID typed as a number
sheet.append(["O'Brien & <Co>", None, "440524188001010014", "二班"])
other = book.create_sheet("其他")
other.append(["姓名", "身份证号码"])
other.append(["不该读到", "11010519491231002X"])
path = os.path.join(out, "openpyxl.xlsx")
book.save(path)
swap_first_two_sheet_parts(path)
assert b"2025" in zipfile.ZipFile(path).read("xl/worksheets/sheet2.xml")

path = os.path.join(out, "xlsxwriter.xlsx")
book = xlsxwriter.Workbook(path)
sheet = book.add_worksheet("名单")
bold = book.add_format({"bold": True})
sheet.write_string("A1", "姓名")
sheet.write_string("B1", "证件号码")
sheet.write_string("C1", "班别")
sheet.write_rich_string("A2", "王", bold, "五")
sheet.write_string("B2", "11010519491231002X")
sheet.write_string("C2", "一班")
sheet.write_string("A3", "姓名")                      # a shared string used twice
sheet.write_boolean("B3", True)
sheet.write_string("AA3", "far")
book.add_worksheet("空").write_string("A1", "不该读到")
book.close()
assert b"<r>" in zipfile.ZipFile(path).read("xl/sharedStrings.xml")
