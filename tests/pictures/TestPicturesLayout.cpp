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
        if (!w->isVisible() || qobject_cast<ThumbButton*>(w) || w->objectName().isEmpty() ||
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
        // Photos put into the item's folder by hand, named as the sample room names them.
        for (const char16_t* name : {u"7-色样-墨绿.jpg", u"7-色样-大红.jpg", u"7-细节.png"})
            fx.home().writeFile(QStringLiteral("pic/7/") + QString::fromUtf16(name),
                                PicturesFixture::picture(Qt::darkGreen, "png", QSize(640, 480)));
        frmThumbs& f = outline ? static_cast<frmThumbs&>(fx.open<frmQuick3D>()) : fx.open<frmThumbs>();
        f.resize(size);
        QTest::qWait(0);
        f.showItem(7);
        QVERIFY(fx.waitForThumbnails());
        checkFits(f);
        if (outline) {
            QCOMPARE(f.strip->count(), 1);
            QVERIFY(f.strip->optThumb(0)->text().endsWith(QStringLiteral("...")));
            return;
        }
        // The thumbnails share the strip's width, and a name is cut only where its cell is too
        // narrow for it.
        QCOMPARE(f.strip->count(), 3);
        int right = 0;
        for (int i = 0; i < f.strip->count(); ++i) {
            const QToolButton* b = f.strip->optThumb(i);
            const QString name = b->property("tag").toString();
            QVERIFY2(b->text() == name || b->fontMetrics().horizontalAdvance(name) > b->width() - 8,
                     qPrintable(b->text()));
            right = std::max(right, b->geometry().right());
        }
        QVERIFY(right >= f.strip->viewport()->width() - 12);
    }
};

QTEST_MAIN(TestPicturesLayout)
#include "TestPicturesLayout.moc"
