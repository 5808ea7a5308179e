# Writes the label-import fixture as an Excel 97-2003 file: python3 make_labels_xls.py OUT.xls
import datetime
import sys

import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("标签")
for column, caption in enumerate(["ID", "卷号", "卡号", "", "", "", "", "", "", "数量", "等级"]):
    if caption:
        sheet.write(0, column, caption)
sheet.write(1, 0, -1)
sheet.write(1, 1, "001")
sheet.write(1, 9, 250.5)
sheet.write(1, 10, "一等品")
sheet.write(2, 0, 17)
sheet.write(2, 1, "002")
sheet.write(2, 9, 0)
sheet.write(2, 10, "二等品")
sheet.write(3, 0, 18)
sheet.write(3, 1, 3)
sheet.write(4, 2, datetime.date(2026, 12, 5), xlwt.easyxf(num_format_str="yyyy-mm-dd"))
other = book.add_sheet("其他")
other.write(0, 0, "不要读")
other.write(9, 9, 99)
book.save(sys.argv[1])
