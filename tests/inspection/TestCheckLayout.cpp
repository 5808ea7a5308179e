// The inspection window's design-time layout on the panel sizes the mill uses: every control
// lies inside its frame, fields do not overlap, and the big fields stay big.
#include "CheckFixture.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestCheckLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1024x768") << QSize(1024, 768);
        QTest::newRow("1366x768") << QSize(1366, 768);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
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
        QList<QWidget*> fields;
        for (QWidget* w : f.findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->property("designRect").isValid())
                continue;
            const QRect inParent = w->parentWidget()->rect();
            QVERIFY2(inParent.contains(w->geometry()),
                     qPrintable(w->objectName() + " leaves its frame at " + QString::number(size.width())));
            if (w->parentWidget() == c.Frame6)
                fields << w;
        }
        for (int i = 0; i < fields.size(); ++i)
            for (int j = i + 1; j < fields.size(); ++j)
                QVERIFY2(!fields[i]->geometry().intersects(fields[j]->geometry()),
                         qPrintable(fields[i]->objectName() + " overlaps " + fields[j]->objectName()));
        // The roll number and quantity can be read from a step away.
        QVERIFY(c.TxtBox[18]->fontInfo().pixelSize() >= 24);
        QVERIFY(c.TxtBox[7]->fontInfo().pixelSize() >= 24);
        // Touch targets of the commands are at least finger sized (about 9 mm on a 15" panel).
        for (QPushButton* b : c.checkCommand)
            if (b && b->isVisible())
                QVERIFY2(b->height() >= 45, qPrintable(b->objectName()));
        // Grid columns grow with the type: every visible caption fits its column.
        for (const QHeaderView* header : f.findChildren<QHeaderView*>()) {
            if (!header->isVisible() || header->orientation() != Qt::Horizontal)
                continue;
            const QFontMetrics fm(header->font());
            for (int col = 0; col < header->count(); ++col) {
                const QString caption = header->model()->headerData(col, Qt::Horizontal).toString();
                if (header->isSectionHidden(col) || caption.isEmpty())
                    continue;
                QVERIFY2(header->sectionSize(col) >= fm.horizontalAdvance(caption),
                         qPrintable(header->parentWidget()->objectName() + ": " + caption + " at "
                                    + QString::number(size.width())));
            }
        }
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        if (!dir.isEmpty())
            f.grab().save(dir + "/check-" + QString::number(size.width()) + ".png");
    }
};

QTEST_MAIN(TestCheckLayout)
#include "TestCheckLayout.moc"
