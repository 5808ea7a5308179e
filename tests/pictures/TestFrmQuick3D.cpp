// The outline variant: the fabric drawn into the polygon of a 704-byte outline file, pixels in
// and out of it, the same outline redrawn when the item changes, the window and its folder.
#include "PicturesFixture.h"

#include "shell/Profile.h"
#include "stations/pictures/FabricOutline.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/frmQuick3D.h"
#include "widgets/ScreenMode.h"

#include <QCheckBox>
#include <QDataStream>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A rectangle (120,120)-(260,260) as the 87 filled points; the 88th point, far out at
// (290,290), would add a triangle below the rectangle if it were filled too.
QByteArray polygonBytes(int bytes = 704)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    const QPointF corners[] = {{120, 120}, {260, 120}, {260, 260}, {120, 260}};
    for (int i = 0; i < 88; ++i) {
        const QPointF p = i == 87 ? QPointF(290, 290) : corners[std::min(i, 3)];
        out << float(p.x()) << float(p.y());
    }
    return data.left(bytes);
}

QByteArray outlinePicture()
{
    return PicturesFixture::picture(Qt::white, "bmp", QSize(320, 320));
}

} // namespace

class TestFrmQuick3D : public QObject {
    Q_OBJECT
private slots:
    void fabricFillsThePolygon_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("filled");
        QTest::newRow("704 bytes") << 704 << true;
        QTest::newRow("cut short") << 703 << false;
        QTest::newRow("no file") << 0 << false;
    }
    void fabricFillsThePolygon()
    {
        QFETCH(int, bytes);
        QFETCH(bool, filled);
        PicturesFixture fx;
        fx.home().writeFile(QStringLiteral("3d/shirt.bmp"), outlinePicture());
        if (bytes > 0)
            fx.home().writeFile(QStringLiteral("3d/shirt.bmp.ovx"), polygonBytes(bytes));
        fx.storePicture(7, PicturesFixture::picture(QColor(200, 30, 40), "png"),
                        QStringLiteral("png"));
        auto& f = fx.open<frmQuick3D>();
        QCOMPARE(f.strip->count(), 1); // the default folder of outlines
        QVERIFY(f.showItem(7));
        const QImage& canvas = f.picBig->image();
        QCOMPARE(canvas.size(), QSize(320, 320));
        const QColor fabric(200, 30, 40);
        const QColor paper(Qt::white);
        QCOMPARE(canvas.pixelColor(190, 190), filled ? fabric : paper);
        QCOMPARE(canvas.pixelColor(125, 250), filled ? fabric : paper);
        for (const QPoint outside :
             {QPoint(110, 190), QPoint(270, 190), QPoint(190, 300), QPoint(275, 281)})
            QCOMPARE(canvas.pixelColor(outside), paper);
        // The swatch shows the fabric in the corner whenever the fabric could be read.
        QCOMPARE(canvas.pixelColor(50, 50), fabric);
        if (!filled && bytes > 0)
            QVERIFY(f.sbrPanel1->text().contains(QStringLiteral("703")));
    }

    void anotherItemRedrawsTheSameOutline()
    {
        PicturesFixture fx;
        fx.home().writeFile(QStringLiteral("3d/a.bmp"), outlinePicture());
        fx.home().writeFile(QStringLiteral("3d/b.bmp"), outlinePicture());
        fx.home().writeFile(QStringLiteral("3d/b.bmp.ovx"), polygonBytes());
        fx.storePicture(7, PicturesFixture::picture(Qt::red, "png"), QStringLiteral("png"));
        fx.storePicture(3, PicturesFixture::picture(Qt::blue, "bmp"), QStringLiteral("bmp"));
        auto& f = fx.open<frmQuick3D>();
        QTest::mouseClick(f.strip->optThumb(1), Qt::LeftButton);
        f.showItem(7);
        QCOMPARE(f.picBig->image().pixelColor(190, 190), QColor(Qt::red));
        QTest::mouseClick(f.butFlow[1], Qt::LeftButton); // 后个: item 3
        QCOMPARE(f.strip->selectedIndex(), 1);
        QCOMPARE(f.picBig->image().pixelColor(190, 190), QColor(Qt::blue));
    }

    void showMeStartsTheSlideShowOnTheItem()
    {
        PicturesFixture fx;
        auto& f = fx.open<frmQuick3D>();
        f.showMe(7);
        QVERIFY(f.autoPlay->isChecked());
        QCOMPARE(f.txtUser[0]->property("tag").toString(), QStringLiteral("7"));
        QCOMPARE(f.txtUser[1]->text(), QStringLiteral("T07"));
    }

    // The screen mode switches as in the item browser; a drawing is shown whole in a small
    // window too, and the window opens at the panel's size the first time.
    void drawingsWholeInTheWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("Qt's first size") << QSize(640, 480);
        QTest::newRow("panel") << QSize(1024, 768);
    }
    void drawingsWholeInTheWindow()
    {
        QFETCH(QSize, size);
        PicturesFixture fx;
        fx.home().writeFile(QStringLiteral("3d/coat.bmp"),
                            PicturesFixture::picture(Qt::white, "bmp", {440, 420}));
        auto& f = fx.open<frmQuick3D>();
        QTest::mouseDClick(f.frameSearch, Qt::LeftButton);
        QVERIFY(ScreenMode::isFullScreen(&f));
        QTest::mouseClick(f.Check1, Qt::LeftButton);
        QVERIFY(!ScreenMode::isFullScreen(&f));
        f.resize(size);
        QTRY_COMPARE(f.size(), size);
        const QRect shown = f.picBig->pictureRect();
        QVERIFY2(f.picBig->rect().contains(shown),
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        QVERIFY(qAbs(shown.width() * 420 - shown.height() * 440) <= 440);
        frmQuick3D fresh;
        fresh.Form_Load();
        QCOMPARE(fresh.size(), QSize(1024, 768));
    }

    // The item browser's last folder (here its default, the stand-in of C:\) is not the outline
    // window's: that one keeps to its outlines.
    void lastFolderOfItsOwn()
    {
        PicturesFixture fx;
        fx.home().writeFile(QStringLiteral("3d/shirt.bmp"), outlinePicture());
        fx.home().writeFile(QStringLiteral("c/orvex.bmp"), outlinePicture());
        fx.open<frmThumbs>().close();
        QCOMPARE(
            basThumbs::readProfile(QStringLiteral("Main"), QStringLiteral("Last Path"), QString()),
            QStringLiteral("C:\\"));
        auto& f = fx.open<frmQuick3D>();
        QCOMPARE(f.strip->count(), 1);
        QCOMPARE(f.strip->optThumb(0)->property("tag").toString(), QStringLiteral("shirt.bmp"));
    }
};

QTEST_MAIN(TestFrmQuick3D)
#include "TestFrmQuick3D.moc"
