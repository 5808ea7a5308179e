# Writes an Excel 97-2003 worksheet for the roll import: python3 make_import_xls.py OUT.xls ROWS
# ROWS is a JSON list of rows from row 2 on, each a list of cells from column A (null = empty).
import json
import sys

import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("卷")
for column, caption in enumerate(["ID", "卷号", "卡号", "", "", "", "", "", "", "数量", "等级"]):
    if caption:
        sheet.write(0, column, caption)
for r, row in enumerate(json.loads(sys.argv[2])):
    for c, value in enumerate(row):
        if value is not None:
            sheet.write(r + 1, c, value)
book.save(sys.argv[1])
