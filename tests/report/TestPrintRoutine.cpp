// The stations' print routine: templates downloaded from the database, printing to a named
// printer, the print-server queue, the preview, and the message when something fails.
#include "LabelFixture.h"
#include "support/ReadBack.h"

#include "report/LabelReport.h"
#include "report/frmBillPrintPreview.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/SysUtil.h"
#include "support/TempProgramFolder.h"

#include "config/ProgramFolder.h"
#include "time/Clock.h"

#include <QScopeGuard>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString rollTemplate(const QString& printer)
{
    return u"[report]\nname = 测试\npage = 80 x 40\n"
           "[parameter]\nname = 单据ID\ntype = number\n"
           "[parameter]\nname = 默认打印机\ntype = text\ndefault = %1\n"
           "[detail]\nquery = select checkcode as 卷号, oncount as 数量 from checkinfo\n"
           "   where id = [#单据ID#]\n"
           "[text]\nat = 0 0 60 8\ntext = 卷号 [卷号] 数量 [数量]\n"_s.arg(printer);
}

} // namespace

class TestPrintRoutine : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_home = std::make_unique<TempProgramFolder>();
        m_db = m_home->file(u"mill.db"_s);
        const QString conn = LabelFixture::createDatabase(m_db, 2);
        m_home->writeFile(u"config.ini"_s,
                          (u"[CUSTOMER.SETTING]\nCONNECTIONSTRING="_s + conn + u"\n"_s).toUtf8());
        QVERIFY(Database::openConnection());
        MessageBox::clearShown();
    }

    void cleanup()
    {
        Database::conn().close();
        m_home.reset();
    }

    void twoStoredTemplatesAreDownloaded()
    {
        // Raw bytes, including a NUL and invalid UTF-8, must arrive unchanged.
        LabelFixture::exec(
            m_db, u"insert into billFiles(fileName, billFile, fileType, fkid) values"
                  "('大唛.grf', X'5B7265706F72745D0A00FF', 'Bill', 7), ('小唛.GRF', X'3B20736D616C6C0A', 'Bill', 7),"
                  "('别的.grf', X'41', 'Bill', 8), ('说明.txt', X'41', 'Bill', 7), ('商品.grf', X'41', 'Item', 7)"_s);
        fetchBillTemplates(7);
        QCOMPARE(m_home->readFile(u"打印/唛头/大唛.grf"_s), QByteArray("[report]\n\0\xFF", 11));
        // Written under the name the stations look it up by.
        QCOMPARE(m_home->readFile(u"打印/唛头/小唛.grf"_s), QByteArray("; small\n"));
        QCOMPARE(QDir(m_home->file(u"打印/唛头"_s)).entryList(QDir::Files),
                 (QStringList{u"大唛.grf"_s, u"小唛.grf"_s}));
        const QString app = ProgramFolder::executableName();
        // No stored template, or a database without the table, changes nothing and says nothing.
        fetchPrintTemplates(99, u"Item"_s);
        LabelFixture::exec(m_db, u"drop table billFiles"_s);
        fetchBillTemplates(7);
        QCOMPARE(SysUtil::getSetting(app, u"PrintTemplate"_s, u"checkMaitou"_s) +
                     SysUtil::getSetting(app, u"PrintTemplate"_s, u"check2"_s),
                 u"大唛小唛"_s);
        QCOMPARE(QDir(m_home->file(u"打印/唛头"_s)).entryList(QDir::Files).size(), 2);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    // A stored name is a file name only: each row one attempt to write elsewhere.
    void storedNameWithAFolderIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("up into another folder") << u"../箱唛/箱唛.grf"_s;
        QTest::newRow("up, backslashes") << u"..\\..\\箱唛.grf"_s;
        QTest::newRow("absolute") << u"<home>/outside.grf"_s;
        QTest::newRow("drive") << u"c:箱唛.grf"_s;
        QTest::newRow("sub-folder") << u"sub/箱唛.grf"_s;
    }
    void storedNameWithAFolderIsRefused()
    {
        QFETCH(QString, name);
        name.replace(u"<home>"_s, m_home->path());
        m_home->writeFile(u"打印/箱唛/箱唛.grf"_s, "box");
        LabelFixture::exec(m_db, u"insert into billFiles(fileName, billFile, fileType, fkid) values"
                                 "('%1', X'41', 'Bill', 7), ('大唛.grf', X'42', 'Bill', 7)"_s.arg(name));
        fetchBillTemplates(7);
        QCOMPARE(m_home->readFile(u"打印/箱唛/箱唛.grf"_s), QByteArray("box"));
        QVERIFY(!QFile::exists(m_home->file(u"outside.grf"_s)));
        QCOMPARE(QDir(m_home->file(u"打印/唛头"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"大唛.grf"_s});
        QVERIFY(MessageBox::lastShown().text.contains(u"“%1”"_s.arg(name)));
    }

    // On the template's printer, with its copies. The packing station prints pool jobs inside its
    // transaction: the label must see the rows that transaction wrote, so it reads through the
    // shared connection.
    void printsOnTheTemplatesPrinterWithCopies()
    {
        const QString pdf = m_home->file(u"archive.pdf"_s);
        writeTemplate(u"测试"_s, rollTemplate(pdf));
        Database::conn().beginTrans();
        Database::conn().execute(
            u"insert into checkinfo(id, checkcode, oncount) values(3, '099', 12)"_s);
        printMarkLabel(u"测试"_s, 3, false, 2);
        Database::conn().rollbackTrans();
        QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(MessageBox::lastShown().text));
        const QStringList pages = ReadBack::pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages.join(u' ').count(u"卷号 099 数量 12"_s), 2);
        QCOMPARE(Database::conn().execute(u"select count(*) from printpool"_s).field(0).toInt(), 0);
    }

    void printServerQueuesARow_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("pid");
        QTest::addColumn<QString>("from");
        QTest::newRow("defaults") << u"打印服务器"_s << QString() << u"001"_s << u"001"_s;
        QTest::newRow("blanks around, ini values")
            << u"\"  打印服务器  \""_s << u"[MIREL]\nPRINT_NO=007\nmenchineId=打包机2号\n"_s << u"007"_s
            << u"打包机2号"_s;
    }

    void printServerQueuesARow()
    {
        QFETCH(QString, printer);
        QFETCH(QString, ini);
        QFETCH(QString, pid);
        QFETCH(QString, from);
        if (!ini.isEmpty())
            m_home->writeFile(u"mirel.ini"_s, ini.toUtf8());
        writeTemplate(u"喷码"_s, rollTemplate(printer));
        Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30, 5)));
        const auto realClock = qScopeGuard([] { Clock::set({}); });
        printMarkLabel(u"喷码"_s, 1, false, 3);
        QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(MessageBox::lastShown().text));
        Recordset rs = Database::conn().execute(
            u"select pid, PrintType, Content, printfrom, createtime from printpool"_s);
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(QStringList({rs.text(u"pid"_s), rs.text(u"PrintType"_s), rs.text(u"printfrom"_s),
                              rs.text(u"createtime"_s)}),
                 QStringList({pid, u"喷码打印"_s, from, u"2026-03-14 10:30:05"_s}));
        // The content is the exported file's text: the filled label as JSON.
        const QString content = rs.text(u"Content"_s);
        QCOMPARE(content.toUtf8(), m_home->readFile(u"c/json.txt"_s));
        const QJsonObject doc = QJsonDocument::fromJson(content.toUtf8()).object();
        QCOMPARE(doc[u"parameters"_s][u"单据ID"_s].toDouble(), 1.0);
        QCOMPARE(doc[u"rows"_s][0][u"卷号"_s].toString(), u"007"_s);
    }

    // What cannot print says so in one message: a template that is not there, a print pool that
    // cannot be written, no printer at all.
    void failureShowsTheMessage_data()
    {
        QTest::addColumn<QString>("grf"); // the template 喷码; empty: none
        QTest::addColumn<QString>("sql"); // run on the database first
        QTest::addColumn<QString>("message");
        QTest::newRow("no template") << QString() << QString() << u"PrintBill发生错误模板文件不存在"_s;
        QTest::newRow("print pool fails") << rollTemplate(u"打印服务器"_s) << u"drop table printpool"_s
                                          << u"PrintBill发生错误"_s;
        QTest::newRow("no default printer") << u"[text]\nat = 0 0 10 10\ntext = x\n"_s << QString()
                                            << u"PrintBill发生错误没有默认打印机"_s;
    }
    void failureShowsTheMessage()
    {
        QFETCH(QString, grf);
        QFETCH(QString, sql);
        QFETCH(QString, message);
        if (message.endsWith(u"打印机"_s) && !QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; a label would really be printed");
        if (!grf.isEmpty())
            writeTemplate(u"喷码"_s, grf);
        if (!sql.isEmpty())
            LabelFixture::exec(m_db, sql);
        printMarkLabel(u"喷码"_s, 1, false, 1);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(MessageBox::lastShown().text.startsWith(message), qPrintable(MessageBox::lastShown().text));
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
    }

    // The box mark's number is a text parameter (a leading zero stays); a box mark that is not
    // there says so under the packing station's name.
    void boxNumberIsAText()
    {
        const QString pdf = m_home->file(u"box.pdf"_s), grf = m_home->file(u"打印/箱唛/箱唛.grf"_s);
        QVERIFY(!printLabel(grf, u"1"_s, false, 1, u"PrintBag发生错误"_s));
        QVERIFY(MessageBox::lastShown().text.startsWith(u"PrintBag发生错误"_s));
        m_home->writeFile(u"打印/箱唛/箱唛.grf"_s,
                          u"[parameter]\nname = 单据ID\ntype = text\n"
                          "[parameter]\nname = 默认打印机\ntype = text\ndefault = %1\n"
                          "[detail]\nquery = select count(*) as 匹数 from checkinfo\n"
                          "   where bagnumber = '[#单据ID#]'\n"
                          "[text]\nat = 0 0 60 8\ntext = 箱号 [#单据ID#] 共 [匹数] 匹\n"_s.arg(pdf)
                              .toUtf8());
        QVERIFY(printLabel(grf, u"0261205001"_s.mid(1), false, 1, u"PrintBag发生错误"_s));
        QVERIFY(ReadBack::pdfPages(pdf).join(u' ').contains(u"箱号 261205001 共 2 匹"_s));
    }

    // Asked for a preview, the routine shows the preview window instead of printing; the window
    // paints the label and has the button that opens the template for editing.
    void previewShowsInsteadOfPrinting()
    {
        const QString pdf = m_home->file(u"never.pdf"_s), grf = m_home->file(u"打印/唛头/测试.grf"_s);
        writeTemplate(u"测试"_s, rollTemplate(pdf));
        const int shown = frmBillPrintPreview::shownCount();
        printMarkLabel(u"测试"_s, 1, true, 5);
        QCOMPARE(frmBillPrintPreview::shownCount(), shown + 1);
        QCOMPARE(frmBillPrintPreview::lastShownTemplate(), grf);
        QVERIFY(!QFile::exists(pdf) && MessageBox::shown().isEmpty());

        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(Qt::red);
        QVERIFY(icon.save(m_home->file(u"mod.bmp"_s)));
        LabelReport report;
        report.load(grf);
        report.setParameter(u"单据ID"_s, 1);
        report.setConnectionString(Database::connectionSetting());
        frmBillPrintPreview form;
        form.setReport(&report, grf);
        form.resize(640, 480);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.viewer()->updatePreview();
        QCOMPARE(form.paintedPages(), 1);
        QCOMPARE(form.viewer()->pageCount(), 1);
        QVERIFY(!form.editButton()->icon().isNull()); // mod.bmp of the program folder
        form.editButton()->trigger(); // unattended: opens nothing, and must not fail
        QVERIFY(!QFile::exists(pdf));
    }

private:
    std::unique_ptr<TempProgramFolder> m_home;
    QString m_db;

    void writeTemplate(const QString& name, const QString& text)
    {
        m_home->writeFile(u"打印/唛头/"_s + name + u".grf"_s, text.toUtf8());
    }
};

QTEST_MAIN(TestPrintRoutine)
#include "TestPrintRoutine.moc"
