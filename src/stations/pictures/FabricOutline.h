// Fabric laid into an outline drawing: the polygon of a garment outline, read from the file
// that goes with the drawing, filled with the fabric picture as a tiled texture.
#pragma once

#include <QImage>
#include <QPolygonF>
#include <QString>

namespace FabricOutline {

/// Points stored in a polygon file, and how many of them the fill uses.
constexpr int storedPoints = 88;
constexpr int filledPoints = 87;

/// The polygon file of an outline picture: its full path followed by ".ovx".
QString polygonFile(const QString& outlinePath);
/// The polygon file of the "Edit" drawing: the outline's path with its last three characters
/// replaced by "txt".
QString editPolygonFile(const QString& outlinePath);

/// Reads a polygon file: 88 points of two little-endian 32-bit floats, x then y, in the
/// picture's pixels; returns the first 87. Empty, with the reason in error, when the file is
/// missing or shorter than 704 bytes.
QPolygonF readPolygon(const QString& path, QString* error = nullptr);

/// The texture made of a fabric picture: its thumbnail at half its width and height.
QImage fabricTexture(const QImage& fabric);

/// Fills the polygon in canvas with the texture tiled from the canvas origin (alternate fill).
/// With swatch, the texture is also drawn into the 100 x 100 corner at (0, 0) so the operator
/// sees which fabric it is.
void fillOutline(QImage& canvas, const QPolygonF& polygon, const QImage& texture, bool swatch);

} // namespace FabricOutline
