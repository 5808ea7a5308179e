// The program's output read back as a person would read it: PDF text by poppler, barcodes by zbar.
#pragma once

#include <QRect>
#include <QStringList>

class QImage;

namespace ReadBack {

/// Runs a program; its standard output, or a line saying that it failed.
QString run(const QString& program, const QStringList& args);
/// The text of each page of a PDF, blanks simplified.
QStringList pdfPages(const QString& path);
/// What zbar reads from the region of the image (a white margin added around it).
QString scan(const QImage& image, const QRect& region);

} // namespace ReadBack
