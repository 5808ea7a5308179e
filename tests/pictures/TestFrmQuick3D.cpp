// The outline variant: the fabric drawn into the polygon of a 704-byte outline file, pixels in
// and out of it, the same outline redrawn when the item changes, no screen-mode switch.
#include "PicturesFixture.h"

#include "stations/pictures/FabricOutline.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/frmQuick3D.h"
#include "widgets/ScreenMode.h"

#include <QCheckBox>
#include <QDataStream>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
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
        fx.storePicture(7, PicturesFixture::picture(QColor(200, 30, 40), "png"), QStringLiteral("png"));
        auto& f = fx.open<frmQuick3D>();
        QCOMPARE(f.strip->count(), 1); // the default folder of outlines
        QVERIFY(f.showItem(7));
        const QImage& canvas = f.picBig->image();
        QCOMPARE(canvas.size(), QSize(320, 320));
        const QColor fabric(200, 30, 40);
        const QColor paper(Qt::white);
        QCOMPARE(canvas.pixelColor(190, 190), filled ? fabric : paper);
        QCOMPARE(canvas.pixelColor(125, 250), filled ? fabric : paper);
        for (const QPoint outside : {QPoint(110, 190), QPoint(270, 190), QPoint(190, 300), QPoint(275, 281)})
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

    void keepsItsWindowStyle()
    {
        PicturesFixture fx;
        auto& f = fx.open<frmQuick3D>();
        const Qt::WindowFlags flags = f.windowFlags();
        QTest::mouseDClick(f.frameSearch, Qt::LeftButton);
        QTest::mouseClick(f.Check1, Qt::LeftButton);
        QCOMPARE(f.windowFlags(), flags);
        QVERIFY(!ScreenMode::isFullScreen(&f));
    }
};

QTEST_MAIN(TestFrmQuick3D)
#include "TestFrmQuick3D.moc"
