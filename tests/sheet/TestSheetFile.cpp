// Spreadsheet export and import of the roll-label list, on real files: .xlsx written by our
// export and by libxlsxwriter directly, .xls written by python3-xlwt, and broken files.
#include "sheet/SheetFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <xlsxwriter.h>

#include <cmath>

using namespace Qt::StringLiterals;

using sheet::SheetGrid;
using sheet::SheetTable;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The label-import layout written straight with libxlsxwriter, with a second worksheet that the
// import must ignore. Inline strings in constant-memory mode (refused by the import, since orcus
// would drop those cells), a shared-string table otherwise.
bool writeLabelsXlsx(const QString& path, bool inlineStrings)
{
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "标签");
    const char* header[] = {"ID",    "卷号",  "卡号",  nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, "数量",  "等级"};
    for (lxw_col_t c = 0; c < 11; ++c) {
        if (header[c])
            worksheet_write_string(ws, 0, c, header[c], nullptr);
    }
    worksheet_write_number(ws, 1, 0, -1, nullptr);
    worksheet_write_string(ws, 1, 1, "001", nullptr);
    worksheet_write_number(ws, 1, 9, 250.5, nullptr);
    worksheet_write_string(ws, 1, 10, "一等品", nullptr);
    worksheet_write_number(ws, 2, 0, 17, nullptr);
    worksheet_write_string(ws, 2, 1, "002", nullptr);
    worksheet_write_number(ws, 2, 9, 0, nullptr);
    worksheet_write_string(ws, 2, 10, "二等品", nullptr);
    worksheet_write_number(ws, 3, 0, 18, nullptr);
    worksheet_write_number(ws, 3, 1, 3, nullptr);
    worksheet_write_string(ws, 4, 2, "2026-12-05", nullptr);
    lxw_worksheet* other = workbook_add_worksheet(wb, "其他");
    worksheet_write_string(other, 0, 0, "不要读", nullptr);
    worksheet_write_number(other, 9, 9, 99, nullptr);
    return workbook_close(wb) == LXW_NO_ERROR;
}

// A python with xlwt: the system one first, since a user-installed python may lack it.
QString pythonWithXlwt()
{
    for (const QString& python : {u"/usr/bin/python3"_s, u"python3"_s}) {
        QProcess p;
        p.start(python, {u"-c"_s, u"import xlwt"_s});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return python;
    }
    return QString();
}

SheetGrid read(const QString& path)
{
    SheetGrid grid;
    QString error;
    if (!sheet::readFirstSheet(path, &grid, &error))
        qWarning("%s", qPrintable(error));
    return grid;
}

} // namespace

class TestSheetFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(writeLabelsXlsx(file(u"shared.xlsx"), false));
        QVERIFY(writeLabelsXlsx(file(u"inline.xlsx"), true));
        python_ = pythonWithXlwt();
        if (python_.isEmpty())
            return;
        QProcess p;
        const QString script = QDir(qEnvironmentVariable("MIREL_SOURCE_DIR"))
                                   .filePath(u"tests/sheet/make_labels_xls.py"_s);
        p.start(python_, {script, file(u"labels.xls")});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    }

    // The same label layout read from each format: column 1 id, 2 roll number, 10 quantity,
    // 11 grade, from row 2; texts stay texts ("001"), numbers are doubles, 0 is not empty.
    void labelCells_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("expected");
        for (const char* name : {"labels.xls", "shared.xlsx"}) {
            auto row = [name](const char* what, int r, int c, const QVariant& v) {
                QTest::addRow("%s %s", name, what) << QString::fromLatin1(name) << r << c << v;
            };
            row("header text", 1, 1, u"ID"_s);
            row("Chinese header", 1, 10, u"数量"_s);
            row("header gap", 1, 4, QVariant());
            row("new-roll id", 2, 1, -1.0);
            row("roll number keeps zeros", 2, 2, u"001"_s);
            row("quantity", 2, 10, 250.5);
            row("grade", 2, 11, u"一等品"_s);
            row("repeated text", 3, 1, 17.0);
            row("zero quantity", 3, 10, 0.0);
            row("numeric roll number", 4, 2, 3.0);
            row("empty quantity", 4, 10, QVariant());
            row("below the data", 6, 1, QVariant());
            row("second sheet not read", 10, 10, QVariant());
        }
    }
    void labelCells()
    {
        QFETCH(QString, fileName);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QVariant, expected);
        if (fileName.endsWith(u".xls") && python_.isEmpty())
            QSKIP("python3 with xlwt (package python3-xlwt) is needed to write the .xls fixture");
        const SheetGrid grid = read(file(fileName));
        const QVariant v = grid.cell(row, column);
        QCOMPARE(v.typeId(), expected.typeId());
        QCOMPARE(v, expected);
        QCOMPARE(grid.isNumber(row, column), expected.typeId() == QMetaType::Double);
    }

    void gridShape_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("xls") << "labels.xls";
        QTest::newRow("xlsx") << "shared.xlsx";
    }
    void gridShape()
    {
        QFETCH(QString, fileName);
        if (fileName.endsWith(u".xls") && python_.isEmpty())
            QSKIP("python3 with xlwt (package python3-xlwt) is needed to write the .xls fixture");
        const SheetGrid grid = read(file(fileName));
        QCOMPARE(grid.rowCount(), 5);
        QCOMPARE(grid.columnCount(), 11);
        QCOMPARE(grid.text(5, 3), u"2026-12-05"_s);
        QCOMPARE(grid.text(2, 10), u"250.5"_s);
        QCOMPARE(grid.text(4, 2), u"3"_s);
        QCOMPARE(grid.text(4, 10), QString());
    }

    // What the export writes comes back as the same kind of cell.
    void exportRoundTrip_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("readBack");
        QTest::newRow("Chinese text") << QVariant(u"一等品"_s) << QVariant(u"一等品"_s);
        QTest::newRow("digits as text") << QVariant(u"007"_s) << QVariant(u"007"_s);
        QTest::newRow("markup characters")
            << QVariant(u"<a & \"b\">"_s) << QVariant(u"<a & \"b\">"_s);
        QTest::newRow("int") << QVariant(7) << QVariant(7.0);
        QTest::newRow("double") << QVariant(-0.25) << QVariant(-0.25);
        QTest::newRow("long long")
            << QVariant(qlonglong(1234567890123)) << QVariant(1234567890123.0);
        QTest::newRow("bool") << QVariant(true) << QVariant(1.0);
        QTest::newRow("invalid is empty") << QVariant() << QVariant();
        QTest::newRow("empty text is empty") << QVariant(QString()) << QVariant();
        QTest::newRow("null number is empty")
            << QVariant(QMetaType(QMetaType::Double)) << QVariant();
        QTest::newRow("NaN is empty") << QVariant(std::nan("")) << QVariant();
        const QDate day(2026, 12, 5);
        QTest::newRow("date as serial day")
            << QVariant(day) << QVariant(double(QDate(1899, 12, 30).daysTo(day)));
        QTest::newRow("date and time") << QVariant(QDateTime(day, QTime(12, 0)))
                                       << QVariant(double(QDate(1899, 12, 30).daysTo(day)) + 0.5);
        QTest::newRow("longest text")
            << QVariant(QString(32767, u'x')) << QVariant(QString(32767, u'x'));
        // Written by the module, which knows the type by its name only.
        QTest::newRow("number in its format")
            << QVariant::fromValue(sheet::FormattedNumber{0.125, u"0.0%"_s}) << QVariant(0.125);
    }
    void exportRoundTrip()
    {
        QFETCH(QVariant, written);
        QFETCH(QVariant, readBack);
        const QString path = file(u"卷号列表.xlsx");
        SheetTable table{{u"卷号"_s, u"值"_s}, {{u"001"_s, written}}};
        QString error;
        QVERIFY2(sheet::writeXlsx(path, table, &error), qPrintable(error));
        const SheetGrid grid = read(path);
        QCOMPARE(grid.cell(1, 2), QVariant(u"值"_s));
        QCOMPARE(grid.cell(2, 1), QVariant(u"001"_s));
        QCOMPARE(grid.cell(2, 2).typeId(), readBack.typeId());
        QCOMPARE(grid.cell(2, 2), readBack);
    }

    void exportManyRowsReplacesFile()
    {
        const QString path = file(u"list.xlsx");
        writeBytes(path, "old contents");
        SheetTable table;
        table.header = {u"ID"_s, u"卷号"_s, u"数量"_s};
        for (int i = 1; i <= 2000; ++i)
            table.rows.append({i, u"%1"_s.arg(i, 3, 10, QLatin1Char('0')), i * 0.5});
        table.rows[10].append(u"多一列"_s);
        QString error;
        QVERIFY2(sheet::writeXlsx(path, table, &error), qPrintable(error));
        QVERIFY(readAll(path).startsWith("PK\x03\x04"));
        const SheetGrid grid = read(path);
        QCOMPARE(grid.rowCount(), 2001);
        QCOMPARE(grid.columnCount(), 4);
        QCOMPARE(grid.cell(2001, 2), QVariant(u"2000"_s));
        QCOMPARE(grid.cell(11, 2), QVariant(u"010"_s));
        QCOMPARE(grid.cell(12, 4), QVariant(u"多一列"_s));
        QCOMPARE(grid.cell(1001, 3), QVariant(500.0));
        QVERIFY(QDir(dir_.path())
                    .entryList({u".mirel-export-*"_s}, QDir::Files | QDir::Hidden)
                    .isEmpty());
    }

    void exportFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("sheetName"); // of the second worksheet
        QTest::newRow("missing folder") << "no/such/folder/list.xlsx"
                                        << "x"
                                        << "无法写入文件" << "卷2";
        QTest::newRow("text too long")
            << "list.xlsx" << QString(32768, u'x') << "第 2 行第 1 列的文字太长" << "卷2";
        QTest::newRow("Chinese text too long")
            << "list.xlsx" << QString(11000, u'卷') << "第 2 行第 1 列的文字太长" << "卷2";
        // The first worksheet is already written when the second one's name is refused.
        QTest::newRow("worksheet name") << "list.xlsx"
                                        << "x"
                                        << "无法写入文件：" + file(u"list.xlsx") + "（工作表名称无效：卷[1]"
                                        << "卷[1]";
    }
    void exportFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, cell);
        QFETCH(QString, message);
        QFETCH(QString, sheetName);
        const QString full = file(path);
        if (QDir(dir_.path()).exists(path))
            QVERIFY(QFile::remove(full));
        if (!path.contains(u'/'))
            writeBytes(full, "keep me");
        QString error;
        const SheetTable table{{u"卷号"_s}, {{cell}}};
        QVERIFY(!sheet::writeXlsx(full, {{u"卷1"_s, table}, {sheetName, table}}, &error));
        QVERIFY2(error.startsWith(message), qPrintable(error));
        if (!path.contains(u'/'))
            QCOMPARE(readAll(full), QByteArray("keep me"));
    }

    void importFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray xlsx = readAll(file(u"shared.xlsx"));
        QTest::newRow("missing file") << "missing.xls" << QByteArray() << "文件不存在";
        QTest::newRow("folder") << "folder.xls" << QByteArray() << "文件不存在";
        QTest::newRow("empty file") << "empty.xls" << QByteArray("") << "不是 Excel 文件";
        QTest::newRow("text file")
            << "text.xls" << QByteArray("ID,卷号\n1,001\n") << "不是 Excel 文件";
        QTest::newRow("zip garbage")
            << "garbage.xlsx" << QByteArray("PK\x03\x04") + QByteArray(500, '\x5a')
            << "无法读取 Excel 文件";
        QTest::newRow("truncated xlsx")
            << "cut.xlsx" << xlsx.left(xlsx.size() / 2) << "文件已损坏或不完整";
        QTest::newRow("ole garbage")
            << "garbage.xls"
            << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(1000, '\x01')
            << "无法读取 Excel 文件";
        QTest::newRow("inline strings")
            << "inline-copy.xlsx" << readAll(file(u"inline.xlsx")) << "内联文字单元格";
        QTest::newRow("ole header only")
            << "short.xls" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)
            << "无法读取 Excel 文件";
        const QByteArray xls = readAll(file(u"labels.xls")); // only where python3-xlwt wrote it
        if (!xls.isEmpty())
            QTest::newRow("truncated xls") << "cut.xls" << xls.left(xls.size() / 2) << "无法读取 Excel 文件";
    }
    void importFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = file(name);
        if (name.startsWith(u"folder"))
            QVERIFY(QDir(dir_.path()).mkpath(name));
        else if (!name.startsWith(u"missing"))
            writeBytes(path, bytes);
        SheetGrid grid;
        grid.setCell(1, 1, u"stale"_s);
        QString error;
        QVERIFY(!sheet::readFirstSheet(path, &grid, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY2(!error.endsWith(u"（）"_s), qPrintable(error)); // a reason is given
        QCOMPARE(grid.rowCount(), 0);
        QVERIFY(!grid.cell(1, 1).isValid());
    }

    // An .xlsx saved under an .xls name is still read: the content decides.
    void formatFromContent()
    {
        const QString path = file(u"really-xlsx.xls");
        QVERIFY(QFile::copy(file(u"shared.xlsx"), path));
        QCOMPARE(read(path).cell(2, 11), QVariant(u"一等品"_s));
    }

    void formulaResultAndRichText()
    {
        const QString path = file(u"formula.xlsx");
        lxw_workbook* wb = workbook_new(QFile::encodeName(path).constData());
        lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
        worksheet_write_number(ws, 0, 0, 21, nullptr);
        worksheet_write_formula_num(ws, 0, 1, "=A1*2", nullptr, 42);
        lxw_format* bold = workbook_add_format(wb);
        format_set_bold(bold);
        lxw_rich_string_tuple first{bold, const_cast<char*>("一等")};
        lxw_rich_string_tuple second{nullptr, const_cast<char*>("品")};
        lxw_rich_string_tuple* parts[] = {&first, &second, nullptr};
        worksheet_write_rich_string(ws, 0, 2, parts, nullptr);
        QCOMPARE(workbook_close(wb), LXW_NO_ERROR);
        const SheetGrid grid = read(path);
        QCOMPARE(grid.cell(1, 2), QVariant(42.0));
        QCOMPARE(grid.cell(1, 3), QVariant(u"一等品"_s));
    }

private:
    QString file(QStringView name) const { return dir_.filePath(name.toString()); }

    QTemporaryDir dir_;
    QString python_;
};

QTEST_GUILESS_MAIN(TestSheetFile)
#include "TestSheetFile.moc"
