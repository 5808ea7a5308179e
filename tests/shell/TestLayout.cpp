// Stored control positions: what captureLayout writes, applyLayout takes back.
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "support/TempProgramFolder.h"
#include "screen/Twips.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestLayout : public QObject {
    Q_OBJECT

    static QWidget* form(QSize size)
    {
        auto* w = new QWidget;
        w->resize(size);
        auto* label = new QLabel(QStringLiteral("卡号"), w);
        label->setObjectName(QStringLiteral("LabBox_3"));
        label->setGeometry(10, 20, 60, 30);
        auto* box = new QLineEdit(w);
        box->setObjectName(QStringLiteral("TxtBox_3"));
        box->setGeometry(80, 20, 200, 30);
        auto* single = new QLineEdit(w);
        single->setObjectName(QStringLiteral("Text1"));
        single->setGeometry(300, 400, 100, 40);
        return w;
    }

private slots:
    // The stations' file choosers only choose: nothing renamed, deleted or made from them.
    void fileDialogsOnlyChoose_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"open", "save", "folder"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void fileDialogsOnlyChoose()
    {
        QFETCH(QString, kind);
        TempProgramFolder home;
        const auto d = MessageBox::fileDialog(kind, kind, QStringLiteral("Excel (*.xlsx)"), QString());
        QVERIFY(d->testOption(QFileDialog::ReadOnly));
        QVERIFY(d->findChild<QFileSystemModel*>()->isReadOnly());
        QCOMPARE(QDir(d->directory()).canonicalPath(), QDir(home.path()).canonicalPath());
        const auto views = d->findChildren<QAbstractItemView*>();
        QVERIFY(!views.isEmpty());
        for (const QAbstractItemView* view : views)
            QCOMPARE(view->contextMenuPolicy(), Qt::NoContextMenu);
        const auto* newFolder = d->findChild<QAbstractButton*>(QStringLiteral("newFolderButton"));
        QVERIFY(!newFolder->isVisibleTo(d.get()));
    }

    void roundTripAtDesignSize()
    {
        std::unique_ptr<QWidget> w(form(QSize(1024, 768)));
        const QString text = SysUtil::captureLayout(w.get(), QStringLiteral("LabBox^3,TxtBox^3,,Nope^1,Text1"));
        QCOMPARE(text, QStringLiteral("LabBox^3=150,300,900,450;TxtBox^3=1200,300,3000,450;"
                                      "Text1=4500,6000,1500,600"));
        w->findChild<QWidget*>(QStringLiteral("TxtBox_3"))->move(0, 0);
        // A control this build does not have is skipped; the rest still moves.
        QVERIFY(SysUtil::applyLayout(w.get(), QStringLiteral("Gone^9=1,2,3,4;") + text));
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("TxtBox_3"))->geometry(), QRect(80, 20, 200, 30));
    }

    void scalesOntoLargerPanel()
    {
        std::unique_ptr<QWidget> w(form(QSize(1920, 1080)));
        QVERIFY(SysUtil::applyLayout(w.get(), QStringLiteral("Text1=7680,5760,1536,1152")));
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("Text1"))->geometry(), QRect(960, 540, 192, 108));
        QCOMPARE(SysUtil::captureLayout(w.get(), QStringLiteral("Text1")),
                 QStringLiteral("Text1=7680,5760,1536,1152"));
    }

    void malformedChangesNothing_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::newRow("no equals") << "Text1=1,2,3,4;TxtBox^3 1,2,3,4";
        QTest::newRow("three numbers") << "Text1=1,2,3,4;TxtBox^3=1,2,3";
        QTest::newRow("not a number") << "Text1=1,2,3,4;TxtBox^3=a,2,3,4";
        QTest::newRow("negative size") << "Text1=1,2,3,4;TxtBox^3=1,2,-3,4";
    }
    void malformedChangesNothing()
    {
        QFETCH(QString, layout);
        std::unique_ptr<QWidget> w(form(QSize(1024, 768)));
        QVERIFY(!SysUtil::applyLayout(w.get(), layout));
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("Text1"))->geometry(), QRect(300, 400, 100, 40));
    }

    void twipsScalePerAxis()
    {
        const Twips t(QSize(1366, 768));
        QCOMPARE(t.x(15360), 1366);
        QCOMPARE(t.y(11520), 768);
        QCOMPARE(t.toTwipsX(1366), 15360);
        QVERIFY(qAbs(t.font(12) - 12.0) < 1e-9); // the smaller factor is the height's 1.0
        QCOMPARE(Twips().x(1440), 96);
    }
};

QTEST_MAIN(TestLayout)
#include "TestLayout.moc"
