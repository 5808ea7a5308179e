// The inspection window's design-time layout on the panel sizes the mill uses: every control
// lies inside its frame, fields do not overlap, and the big fields stay big.
#include "CheckFixture.h"
#include "support/LayoutCheck.h"

#include "stations/inspection/CheckDefectPart.h"
#include "stations/inspection/CheckLabelPart.h"
#include "stations/inspection/CheckRollListPart.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "support/LayoutCheck.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl3.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Data rows of the grid shown whole, without scrolling.
int rowsInView(const EditGrid& grid)
{
    const QTableWidget* t = grid.table();
    int n = 0;
    for (int r = 0; r < t->rowCount(); ++r) {
        const int top = t->rowViewportPosition(r);
        n += top >= 0 && top + t->rowHeight(r) <= t->viewport()->height() ? 1 : 0;
    }
    return n;
}

QList<QSize> panelSizes() { return {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)}; }

} // namespace

class TestCheckLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        for (const QSize& size : panelSizes())
            QTest::newRow(qPrintable(QString("%1x%2").arg(size.width()).arg(size.height()))) << size;
    }
    void fitsThePanel()
    {
        QFETCH(QSize, size);
        CheckFixture fx;
        frmCheck& f = fx.open();
        f.resize(size);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        fx.lookUp("K001");
        const auto& c = f.controls();
        c.TxtBox[0]->setText("001"); // the worker's name beside the code
        QVERIFY(!c.LabBox[2]->text().isEmpty());
        checkInsideAndReadable(f, QString::number(size.width()));
        checkLabelsWhole(f, QString::number(size.width()));
        QList<QWidget*> fields;
        for (QWidget* w : f.findChildren<QWidget*>())
            if (w->isVisible() && w->property("designRect").isValid() && w->parentWidget() == c.Frame6)
                fields << w;
        for (int i = 0; i < fields.size(); ++i)
            for (int j = i + 1; j < fields.size(); ++j)
                QVERIFY2(!fields[i]->geometry().intersects(fields[j]->geometry()),
                         qPrintable(fields[i]->objectName() + " overlaps " + fields[j]->objectName()));
        // The roll number and quantity can be read from a step away.
        QVERIFY(c.TxtBox[18]->fontInfo().pixelSize() >= 24);
        QVERIFY(c.TxtBox[7]->fontInfo().pixelSize() >= 24);
        // Ticks and chosen grades are seen from a step away: indicators grow with the type and
        // stay inside their box.
        for (const QAbstractButton* box : f.findChildren<QAbstractButton*>()) {
            if (!box->isVisible() || (!qobject_cast<const QCheckBox*>(box) && !qobject_cast<const QRadioButton*>(box)))
                continue;
            QStyleOptionButton option;
            option.initFrom(box);
            const bool radio = qobject_cast<const QRadioButton*>(box);
            const QRect mark = box->style()->subElementRect(
                radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, box);
            QVERIFY2(mark.height() >= box->fontMetrics().height() * 3 / 4,
                     qPrintable(box->objectName() + " mark " + QString::number(mark.height())));
            QVERIFY2(box->rect().contains(mark), qPrintable(box->objectName() + " mark cut"));
        }
        // Touch targets of the commands are at least finger sized (about 9 mm on a 15" panel).
        for (QPushButton* b : c.checkCommand)
            if (b && b->isVisible())
                QVERIFY2(b->height() >= 45, qPrintable(b->objectName()));
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        if (!dir.isEmpty())
            f.grab().save(dir + "/check-" + QString::number(size.width()) + ".png");
    }

    // The station as the operators get it, with its parts: a roll of several defects, labels
    // generated on the label tab, a queried roll list; each tab at each panel size.
    void tabsFitThePanel()
    {
        CheckFixture fx("bugs=破洞,油污,断经,纬斜,粗纱,色差,稀密路,毛粒\nUSASTANDARD=美标4分制\n");
        frmCheck& f = fx.open();
        CheckDefectPart defects(&f);
        CheckLabelPart labels(&f);
        CheckRollListPart list(&f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        fx.lookUp("K001");
        auto& c = f.controls();
        c.TxtBox[7]->setText("86.5");
        c.TxtBox[2]->setText("150");
        for (int i : {0, 2, 1}) {
            defects.bugBtn_Click(i);
            emit defects.UserControl31()->Confirm(" 3", " 1");
        }
        QCOMPARE(f.defectRows().size(), 3);
        QVERIFY(f.saveRoll(true) > 0);
        for (int roll = 2; roll <= 7; ++roll) {
            c.TxtBox[18]->setText(QString("00%1").arg(roll));
            c.checkId->setText("0");
            QVERIFY(f.saveRoll(false) > 0);
        }
        f.runCommand(10);
        QCOMPARE(list.grid()->rows(), 8); // header and the saved rolls
        c.machineCount->setText("1000");
        c.TxtBox[2]->setText("250");
        labels.cmdTag(0)->click();
        QCOMPARE(labels.labelRows().size(), 4);
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        for (const QSize& size : panelSizes()) {
            f.resize(size);
            QCoreApplication::processEvents();
            const QRect form = c.Frame6->geometry();
            for (int tab = 0; tab < c.SSTab1->count(); ++tab) {
                c.SSTab1->setCurrentIndex(tab);
                QCoreApplication::processEvents();
                const QString where = QString("%1, tab %2").arg(size.width()).arg(tab);
                checkInsideAndReadable(f, where);
                checkLabelsWhole(f, where);
                // Whichever tab is open, the commands and the roll form's place stay in view.
                checkCommandsInView(f, where);
                QCOMPARE(c.Frame6->pos(), form.topLeft());
                if (!dir.isEmpty())
                    f.grab().save(QString("%1/station-%2-tab%3.png").arg(dir).arg(size.width()).arg(tab));
                if (c.SSTab1->currentWidget() == list.grid()->parentWidget())
                    QVERIFY2(rowsInView(*list.grid()) >= 4,
                             qPrintable(QString("%1 rolls in view at %2")
                                            .arg(rowsInView(*list.grid()))
                                            .arg(where)));
            }
        }
    }

    // The settings panel opened with the access code, at each panel size.
    void settingsPanelFitsThePanel()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* panel = f.settingsPanel();
        QVERIFY(panel->checkAccessCode("5862"));
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        for (const QSize& size : panelSizes()) {
            f.resize(size);
            QCoreApplication::processEvents();
            QVERIFY(panel->isVisible());
            QVERIFY(f.rect().contains(panel->geometry()));
            checkInsideAndReadable(f, QString("%1, settings").arg(size.width()));
            checkLabelsWhole(f, QString("%1, settings").arg(size.width()));
            // The panel's type grows with the window like the form's.
            for (const QWidget* w : panel->findChildren<QWidget*>())
                if (w->isVisible() && w->property("designPt").toDouble() == 12.0)
                    QVERIFY2(qAbs(w->fontInfo().pixelSize() - f.fontInfo().pixelSize()) <= 1,
                             qPrintable(w->metaObject()->className() + QString(" ") + w->objectName() + " at "
                                        + QString::number(size.width())));
            if (!dir.isEmpty())
                f.grab().save(QString("%1/settings-%2.png").arg(dir).arg(size.width()));
        }
    }
};

QTEST_MAIN(TestCheckLayout)
#include "TestCheckLayout.moc"
