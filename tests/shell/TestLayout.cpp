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

using namespace Qt::StringLiterals;

class TestLayout : public QObject {
    Q_OBJECT

    static QWidget* form(QSize size)
    {
        auto* w = new QWidget;
        w->resize(size);
        auto* label = new QLabel(u"卡号"_s, w);
        label->setObjectName(u"LabBox_3"_s);
        label->setGeometry(10, 20, 60, 30);
        auto* box = new QLineEdit(w);
        box->setObjectName(u"TxtBox_3"_s);
        box->setGeometry(80, 20, 200, 30);
        auto* single = new QLineEdit(w);
        single->setObjectName(u"Text1"_s);
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
        const auto d = MessageBox::fileDialog(kind, kind, u"Excel (*.xlsx)"_s, QString());
        QVERIFY(d->testOption(QFileDialog::ReadOnly));
        QVERIFY(d->findChild<QFileSystemModel*>()->isReadOnly());
        QCOMPARE(QDir(d->directory()).canonicalPath(), QDir(home.path()).canonicalPath());
        const auto views = d->findChildren<QAbstractItemView*>();
        QVERIFY(!views.isEmpty());
        for (const QAbstractItemView* view : views)
            QCOMPARE(view->contextMenuPolicy(), Qt::NoContextMenu);
        const auto* newFolder = d->findChild<QAbstractButton*>(u"newFolderButton"_s);
        QVERIFY(!newFolder->isVisibleTo(d.get()));
    }

    void roundTripAtDesignSize()
    {
        std::unique_ptr<QWidget> w(form(QSize(1024, 768)));
        const QString text = SysUtil::captureLayout(w.get(), u"LabBox^3,TxtBox^3,,Nope^1,Text1"_s);
        QCOMPARE(text, u"LabBox^3=150,300,900,450;TxtBox^3=1200,300,3000,450;"
                       "Text1=4500,6000,1500,600"_s);
        w->findChild<QWidget*>(u"TxtBox_3"_s)->move(0, 0);
        // A control this build does not have is skipped; the rest still moves.
        QVERIFY(SysUtil::applyLayout(w.get(), u"Gone^9=1,2,3,4;"_s + text));
        QCOMPARE(w->findChild<QWidget*>(u"TxtBox_3"_s)->geometry(), QRect(80, 20, 200, 30));
    }

    void scalesOntoLargerPanel()
    {
        std::unique_ptr<QWidget> w(form(QSize(1920, 1080)));
        QVERIFY(SysUtil::applyLayout(w.get(), u"Text1=7680,5760,1536,1152"_s));
        QCOMPARE(w->findChild<QWidget*>(u"Text1"_s)->geometry(), QRect(960, 540, 192, 108));
        QCOMPARE(SysUtil::captureLayout(w.get(), u"Text1"_s), u"Text1=7680,5760,1536,1152"_s);
    }

    void malformedChangesNothing_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::newRow("no equals") << "Text1=1,2,3,4;TxtBox^3 1,2,3,4";
        QTest::newRow("not a number") << "Text1=1,2,3,4;TxtBox^3=a,2,3,4";
        QTest::newRow("negative size") << "Text1=1,2,3,4;TxtBox^3=1,2,-3,4";
    }
    void malformedChangesNothing()
    {
        QFETCH(QString, layout);
        std::unique_ptr<QWidget> w(form(QSize(1024, 768)));
        QVERIFY(!SysUtil::applyLayout(w.get(), layout));
        QCOMPARE(w->findChild<QWidget*>(u"Text1"_s)->geometry(), QRect(300, 400, 100, 40));
    }

    void twipsScalePerAxis()
    {
        // (Positions scale per axis: the layouts above at 1024 x 768 and 1920 x 1080.)
        QVERIFY(qAbs(Twips(QSize(1366, 768)).font(12) - 12.0) < 1e-9); // the smaller factor, 1.0
        QCOMPARE(Twips().x(1440), 96);
    }
};

QTEST_MAIN(TestLayout)
#include "TestLayout.moc"
