// Both picture browsers on the panel sizes of the mill: every control inside the window and its
// frame, captions whole, the picture and the strip of a useful size.
#include "PicturesFixture.h"

#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/frmQuick3D.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

namespace {

void checkFits(frmThumbs& f)
{
    for (QWidget* w : f.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->parentWidget() == f.strip->picSlide() || w->objectName().isEmpty() ||
            w->objectName().startsWith(u"qt_"))
            continue;
        if (w->parentWidget() == &f || w->parentWidget() == f.frameSearch)
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
    for (QLabel* label : f.labUser)
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(label->text()));
    for (QAbstractButton* b : f.frameSearch->findChildren<QAbstractButton*>())
        QVERIFY2(b->sizeHint().width() <= b->width() + 2, qPrintable(b->objectName()));
    QVERIFY(f.picBig->width() > f.width() / 3);
    QVERIFY(f.strip->boxSize().width() >= 80);
    QVERIFY(!f.picBig->geometry().intersects(f.strip->geometry()));
    QVERIFY(f.sbrMain->geometry().bottom() <= f.rect().bottom());
}

} // namespace

class TestPicturesLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("outline");
        for (bool outline : {false, true})
            for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2x%3").arg(outline ? "3d" : "item")
                                             .arg(s.width()).arg(s.height())))
                    << s << outline;
    }
    void fitsThePanel()
    {
        QFETCH(QSize, size);
        QFETCH(bool, outline);
        PicturesFixture fx;
        fx.home().writeFile(QStringLiteral("3d/a_long_outline_name_for_the_summer_shirt.bmp"),
                            PicturesFixture::picture(Qt::white, "bmp", QSize(300, 300)));
        frmThumbs& f = outline ? static_cast<frmThumbs&>(fx.open<frmQuick3D>()) : fx.open<frmThumbs>();
        f.resize(size);
        QTest::qWait(0);
        f.showItem(7);
        checkFits(f);
        if (outline) {
            QCOMPARE(f.strip->count(), 1);
            QVERIFY(f.strip->optThumb(0)->text().endsWith(QStringLiteral("...")));
        }
    }
};

QTEST_MAIN(TestPicturesLayout)
#include "TestPicturesLayout.moc"
