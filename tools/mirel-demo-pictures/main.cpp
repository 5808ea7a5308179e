// mirel-demo-pictures: woven swatches of the demo items (stored with the items, as the sample
// room stores them), a few photos of the first item put into its picture folder by hand, and
// outline drawings with their polygon files for the fabric fill.
#include "shell/Database.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

enum class Weave { Plain, Twill, Satin, Knit };

// A swatch as a close-up camera sees it: warp and weft threads of one colour, the thread on top
// lighter in its middle, the pattern of the weave deciding which thread is on top.
QImage swatch(QSize size, QColor colour, Weave weave)
{
    QImage image(size, QImage::Format_RGB32);
    const int cell = weave == Weave::Knit ? 10 : 6;
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int cx = x / cell;
            const int cy = y / cell;
            bool warpUp = false;
            switch (weave) {
            case Weave::Plain: warpUp = (cx + cy) % 2 == 0; break;
            case Weave::Twill: warpUp = ((cx - cy) % 4 + 4) % 4 < 2; break;
            case Weave::Satin: warpUp = (cx * 2 + cy) % 5 != 0; break;
            case Weave::Knit: warpUp = std::abs(x % cell - cell / 2) * 2 < y % cell + 2; break;
            }
            const double across = double(warpUp ? x % cell : y % cell) / cell;
            const double light = 0.72 + 0.28 * std::sin(across * M_PI) + ((x * 7 + y * 13) % 5) * 0.01;
            const QColor c = QColor::fromRgbF(std::min(1.0, colour.redF() * light),
                                              std::min(1.0, colour.greenF() * light),
                                              std::min(1.0, colour.blueF() * light));
            line[x] = c.rgb();
        }
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

struct Drawing {
    const char16_t* name;
    QPainterPath outline;
};

// A shirt front, a cushion and trousers, each one closed outline in the drawing's pixels.
QList<Drawing> drawings()
{
    QPainterPath shirt;
    shirt.moveTo(150, 40);
    shirt.quadTo(220, 80, 290, 40);
    shirt.lineTo(400, 100);
    shirt.lineTo(370, 170);
    shirt.lineTo(330, 150);
    shirt.lineTo(330, 370);
    shirt.lineTo(110, 370);
    shirt.lineTo(110, 150);
    shirt.lineTo(70, 170);
    shirt.lineTo(40, 100);
    shirt.closeSubpath();
    QPainterPath cushion;
    cushion.moveTo(60, 60);
    cushion.quadTo(220, 100, 380, 60);
    cushion.quadTo(340, 210, 380, 360);
    cushion.quadTo(220, 320, 60, 360);
    cushion.quadTo(100, 210, 60, 60);
    QPainterPath trousers;
    trousers.moveTo(60, 40);
    trousers.lineTo(380, 40);
    trousers.cubicTo(330, 160, 390, 280, 360, 380);
    trousers.lineTo(240, 380);
    trousers.cubicTo(250, 250, 200, 150, 220, 90);
    trousers.cubicTo(230, 150, 190, 250, 200, 380);
    trousers.lineTo(80, 380);
    trousers.cubicTo(50, 280, 110, 160, 60, 40);
    return {{u"衬衫", shirt}, {u"靠垫", cushion}, {u"裤子", trousers}};
}

// The drawing as the designer hands it over, and its polygon: 88 points along the outline,
// x then y as little-endian 32-bit floats, the last one back at the start.
void writeDrawing(const QString& folder, const Drawing& d)
{
    QImage image(440, 420, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 3));
    p.drawPath(d.outline);
    p.end();
    const QString path = folder + u'/' + QString::fromUtf16(d.name) + u".png"_s;
    image.save(path);
    QByteArray points;
    QDataStream out(&points, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    for (int i = 0; i < 88; ++i) {
        const QPointF pt = d.outline.pointAtPercent(i / 87.0);
        out << float(pt.x()) << float(pt.y());
    }
    // The polygon of the picture, and the one "打开" reads beside it.
    for (const QString& name : {path + u".ovx"_s, path.chopped(3) + u"txt"_s}) {
        QFile f(name);
        if (f.open(QIODevice::WriteOnly))
            f.write(points);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: mirel-demo-pictures <program folder>" << Qt::endl;
        return 2;
    }
    const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    qputenv("MIREL_HOME", home.toUtf8());
    qputenv("MIREL_NONINTERACTIVE", "1");
    if (!Database::openConnection())
        return 1;

    const struct {
        int id;
        QColor colour;
        Weave weave;
    } items[] = {{1, QColor(236, 236, 228), Weave::Plain},
                 {2, QColor(40, 52, 96), Weave::Twill},
                 {3, QColor(214, 184, 120), Weave::Satin},
                 {4, QColor(150, 152, 158), Weave::Knit}};
    for (const auto& item : items) {
        const QByteArray jpg = encoded(swatch(QSize(480, 360), item.colour, item.weave), "jpg");
        Database::conn().execute(u"update item set pic=0x%1, picName='jpg' where itemid=%2"_s
                                     .arg(QString::fromLatin1(jpg.toHex()))
                                     .arg(item.id));
    }
    // The first item's folder also holds the photos the sample room put there by hand.
    const QString pic1 = home + u"/pic/1"_s;
    QDir().mkpath(pic1);
    const QColor dyes[] = {QColor(236, 236, 228), QColor(170, 40, 48), QColor(60, 120, 80),
                           QColor(60, 90, 160), QColor(230, 200, 70)};
    const char16_t* dyeNames[] = {u"漂白", u"大红", u"墨绿", u"宝蓝", u"明黄"};
    for (int i = 1; i < 5; ++i)
        swatch(QSize(640, 480), dyes[i], Weave::Plain)
            .save(pic1 + u"/1-色样-"_s + QString::fromUtf16(dyeNames[i]) + u".jpg"_s);
    swatch(QSize(320, 240), dyes[0], Weave::Plain).scaled(960, 720).save(pic1 + u"/1-细节.png"_s);

    const QString outlines = home + u"/3d"_s;
    QDir().mkpath(outlines);
    for (const Drawing& d : drawings())
        writeDrawing(outlines, d);
    // The fabric "打开" lays into a drawing.
    QDir().mkpath(home + u"/c"_s);
    swatch(QSize(240, 180), QColor(170, 40, 48), Weave::Twill).save(home + u"/c/orvex.bmp"_s);
    return 0;
}
