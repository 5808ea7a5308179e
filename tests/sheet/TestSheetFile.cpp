// Spreadsheet export and import of the roll-label list, on real files: .xlsx written by our
// export and by libxlsxwriter directly, .xls written by python3-xlwt, and broken files.
#include "sheet/SheetFile.h"
#include "support/TempProgramFolder.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <xlsxwriter.h>

#include <cmath>

using namespace Qt::StringLiterals;

using sheet::SheetGrid;
using sheet::SheetTable;

namespace {

// The label-import layout (make_labels_xls.py writes the same as .xls): a row a line, "|" between
// cells, "#" before a number. Id, roll number, card, quantity in column 10, grade in 11; the roll
// number stays text ("001") and 0 is no empty cell.
const QStringList labels{u"ID|卷号|卡号|||||||数量|等级"_s, u"#-1|001||||||||#250.5|一等品"_s,
                         u"#17|002||||||||#0|二等品"_s, u"#18|#3|||||||||"_s,
                         u"||2026-12-05||||||||"_s};

// Written straight with libxlsxwriter, with a second worksheet the import must ignore. Inline
// strings in constant-memory mode (refused by the import, since orcus would drop those cells), a
// shared-string table otherwise.
bool writeLabelsXlsx(const QString& path, bool inlineStrings)
{
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "标签");
    for (qsizetype r = 0; r < labels.size(); ++r) {
        const QStringList cells = labels[r].split(u'|');
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const auto row = lxw_row_t(r);
            const auto col = lxw_col_t(c);
            if (cells[c].startsWith(u'#'))
                worksheet_write_number(ws, row, col, cells[c].mid(1).toDouble(), nullptr);
            else if (!cells[c].isEmpty())
                worksheet_write_string(ws, row, col, cells[c].toUtf8().constData(), nullptr);
        }
    }
    lxw_worksheet* other = workbook_add_worksheet(wb, "其他");
    worksheet_write_string(other, 0, 0, "不要读", nullptr);
    worksheet_write_number(other, 9, 9, 99, nullptr);
    return workbook_close(wb) == LXW_NO_ERROR;
}

// The first worksheet of a file in the form of `labels`; an empty text kept as a cell shows as ''.
QStringList read(const QString& path)
{
    SheetGrid grid;
    QString error;
    if (!sheet::readFirstSheet(path, &grid, &error))
        qWarning("%s", qPrintable(error));
    QStringList rows;
    for (int r = 1; r <= grid.rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c <= grid.columnCount(); ++c) {
            const QString text = grid.text(r, c);
            cells << (grid.isNumber(r, c)                          ? u"#"_s + text
                      : grid.cell(r, c).isValid() && text.isEmpty() ? u"''"_s
                                                                    : text);
        }
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

class TestSheetFile : public QObject {
    Q_OBJECT

    TempProgramFolder m_home;
    bool m_xls = false; // the .xls fixture was written (python3 with xlwt is there)
    QString file(const QString& name) const { return m_home.file(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(writeLabelsXlsx(file(u"shared.xlsx"_s), false));
        QVERIFY(writeLabelsXlsx(file(u"inline.xlsx"_s), true));
        // An .xlsx saved under an .xls name is still read: the content decides.
        QVERIFY(QFile::copy(file(u"shared.xlsx"_s), file(u"really-xlsx.xls"_s)));
        const QString script = QDir(qEnvironmentVariable("MIREL_SOURCE_DIR"))
                                   .filePath(u"tests/sheet/make_labels_xls.py"_s);
        // The system python first: a user-installed one may lack xlwt.
        for (const QString& python : {u"/usr/bin/python3"_s, u"python3"_s}) {
            QProcess p;
            p.start(python, {u"-c"_s, u"import xlwt"_s});
            if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode())
                continue;
            p.start(python, {script, file(u"labels.xls"_s)});
            QVERIFY(p.waitForFinished(30000));
            QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
            m_xls = true;
            break;
        }
    }

    void labels_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"labels.xls", "shared.xlsx", "really-xlsx.xls"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void labels()
    {
        QFETCH(QString, name);
        if (name == u"labels.xls" && !m_xls)
            QSKIP("python3 with xlwt (package python3-xlwt) is needed to write the .xls fixture");
        QCOMPARE(read(file(name)), ::labels);
    }

    // What the export writes comes back as the same kind of cell.
    void exportRoundTrip_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QString>("readBack");
        const auto row = [](const char* name, const QVariant& v, const QString& back) {
            QTest::newRow(name) << v << back;
        };
        const QDate day(2026, 12, 5); // serial day 46361 in the sheet
        row("Chinese text", u"一等品"_s, u"一等品"_s);
        row("digits as text", u"007"_s, u"007"_s);
        row("markup characters", u"<a & \"b\">"_s, u"<a & \"b\">"_s);
        row("int", 7, u"#7"_s);
        row("double", -0.25, u"#-0.25"_s);
        row("long long", qlonglong(1234567890123), u"#1234567890123"_s);
        row("bool", true, u"#1"_s);
        row("invalid is empty", QVariant(), QString());
        row("empty text is empty", QString(), QString());
        row("null number is empty", QVariant(QMetaType(QMetaType::Double)), QString());
        row("NaN is empty", std::nan(""), QString());
        row("date as serial day", day, u"#46361"_s);
        row("date and time", QDateTime(day, QTime(12, 0)), u"#46361.5"_s);
        row("longest text", QString(32767, u'x'), QString(32767, u'x'));
        // Written by the module, which knows the type by its name only.
        row("number in its format", QVariant::fromValue(sheet::FormattedNumber{0.125, u"0.0%"_s}),
            u"#0.125"_s);
    }
    void exportRoundTrip()
    {
        QFETCH(QVariant, written);
        QFETCH(QString, readBack);
        const QString path = file(u"卷号列表.xlsx"_s);
        QString error;
        QVERIFY2(sheet::writeXlsx(path, SheetTable{{u"卷号"_s, u"值"_s}, {{u"001"_s, written}}}, &error),
                 qPrintable(error));
        QCOMPARE(read(path), QStringList({u"卷号|值"_s, u"001|"_s + readBack}));
    }

    void exportManyRowsReplacesFile()
    {
        m_home.writeFile(u"list.xlsx"_s, "old contents");
        SheetTable table{{u"ID"_s, u"卷号"_s, u"数量"_s}, {}};
        for (int i = 1; i <= 2000; ++i)
            table.rows.append({i, u"%1"_s.arg(i, 3, 10, QLatin1Char('0')), i * 0.5});
        table.rows[10].append(u"多一列"_s);
        QString error;
        QVERIFY2(sheet::writeXlsx(file(u"list.xlsx"_s), table, &error), qPrintable(error));
        QVERIFY(m_home.readFile(u"list.xlsx"_s).startsWith("PK\x03\x04"));
        const QStringList rows = read(file(u"list.xlsx"_s));
        QCOMPARE(rows.size(), 2001);
        QCOMPARE(rows[11], u"#11|011|#5.5|多一列"_s);
        QCOMPARE(rows[2000], u"#2000|2000|#1000|"_s);
        QVERIFY(QDir(m_home.path()).entryList({u".mirel-export-*"_s}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void exportFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("sheetName"); // of the second worksheet
        QTest::newRow("missing folder") << "no/such/folder/list.xlsx" << "x" << "无法写入文件" << "卷2";
        QTest::newRow("text too long")
            << "list.xlsx" << QString(32768, u'x') << "第 2 行第 1 列的文字太长" << "卷2";
        QTest::newRow("Chinese text too long")
            << "list.xlsx" << QString(11000, u'卷') << "第 2 行第 1 列的文字太长" << "卷2";
        // The first worksheet is already written when the second one's name is refused.
        QTest::newRow("worksheet name")
            << "list.xlsx" << "x" << "无法写入文件：" + file(u"list.xlsx"_s) + "（工作表名称无效：卷[1]"
            << "卷[1]";
    }
    void exportFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, cell);
        QFETCH(QString, message);
        QFETCH(QString, sheetName);
        const bool inFolder = !path.contains(u'/');
        if (inFolder)
            m_home.writeFile(path, "keep me");
        QString error;
        const SheetTable table{{u"卷号"_s}, {{cell}}};
        QVERIFY(!sheet::writeXlsx(file(path), {{u"卷1"_s, table}, {sheetName, table}}, &error));
        QVERIFY2(error.startsWith(message), qPrintable(error));
        if (inFolder)
            QCOMPARE(m_home.readFile(path), QByteArray("keep me"));
    }

    void importFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray xlsx = m_home.readFile(u"shared.xlsx"_s);
        const QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        QTest::newRow("missing file") << "missing.xls" << QByteArray() << "文件不存在";
        QTest::newRow("folder") << "folder.xls" << QByteArray() << "文件不存在";
        QTest::newRow("empty file") << "empty.xls" << QByteArray("") << "不是 Excel 文件";
        QTest::newRow("text file") << "text.xls" << QByteArray("ID,卷号\n1,001\n") << "不是 Excel 文件";
        QTest::newRow("zip garbage")
            << "garbage.xlsx" << QByteArray("PK\x03\x04") + QByteArray(500, '\x5a') << "无法读取 Excel 文件";
        QTest::newRow("truncated xlsx") << "cut.xlsx" << xlsx.left(xlsx.size() / 2) << "文件已损坏或不完整";
        QTest::newRow("ole garbage") << "garbage.xls" << ole + QByteArray(1000, '\x01') << "无法读取 Excel 文件";
        QTest::newRow("inline strings")
            << "inline-copy.xlsx" << m_home.readFile(u"inline.xlsx"_s) << "内联文字单元格";
        QTest::newRow("ole header only") << "short.xls" << ole << "无法读取 Excel 文件";
        const QByteArray xls = m_home.readFile(u"labels.xls"_s); // only where python3-xlwt wrote it
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
            QVERIFY(QDir(m_home.path()).mkpath(name));
        else if (!name.startsWith(u"missing"))
            m_home.writeFile(name, bytes);
        SheetGrid grid;
        grid.setCell(1, 1, u"stale"_s);
        QString error;
        QVERIFY(!sheet::readFirstSheet(path, &grid, &error));
        QVERIFY2(error.contains(message) && error.contains(path), qPrintable(error));
        QVERIFY2(!error.endsWith(u"（）"_s), qPrintable(error)); // a reason is given
        QCOMPARE(grid.rowCount(), 0);
        QVERIFY(!grid.cell(1, 1).isValid());
    }

    void formulaResultAndRichText()
    {
        const QString path = file(u"formula.xlsx"_s);
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
        QCOMPARE(read(path), QStringList{u"#21|#42|一等品"_s});
    }
};

QTEST_GUILESS_MAIN(TestSheetFile)
#include "TestSheetFile.moc"
