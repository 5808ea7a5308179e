// Outline polygons and the fabric fill.
#include "stations/pictures/FabricOutline.h"

#include <QBrush>
#include <QDataStream>
#include <QFile>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace FabricOutline {

QString polygonFile(const QString& outlinePath)
{
    return outlinePath + u".ovx"_s;
}

QString editPolygonFile(const QString& outlinePath)
{
    return outlinePath.left(std::max<qsizetype>(0, outlinePath.size() - 3)) + u"txt"_s;
}

QPolygonF readPolygon(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = u"轮廓文件打不开："_s + path;
        return {};
    }
    const QByteArray bytes = file.read(storedPoints * 8);
    if (bytes.size() < storedPoints * 8) {
        if (error)
            *error = u"轮廓文件不完整（%1 字节，应为 %2 字节）："_s.arg(bytes.size())
                         .arg(storedPoints * 8) +
                     path;
        return {};
    }
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    QPolygonF polygon;
    for (int i = 0; i < storedPoints; ++i) {
        float x = 0;
        float y = 0;
        in >> x >> y;
        if (i < filledPoints)
            polygon << QPointF(x, y);
    }
    return polygon;
}

QImage fabricTexture(const QImage& fabric)
{
    if (fabric.isNull())
        return {};
    return fabric.scaled(std::max(1, fabric.width() / 2), std::max(1, fabric.height() / 2),
                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void fillOutline(QImage& canvas, const QPolygonF& polygon, const QImage& texture, bool swatch)
{
    if (canvas.isNull() || texture.isNull())
        return;
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    if (swatch)
        p.drawImage(QRect(0, 0, 100, 100), texture);
    if (polygon.size() >= 3) {
        p.setPen(Qt::NoPen);
        p.setBrush(QBrush(texture));
        p.drawPolygon(polygon, Qt::OddEvenFill);
    }
}

} // namespace FabricOutline
