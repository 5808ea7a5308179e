// The program's output read back by the tools a person would use: poppler for PDF text, zbar for
// barcodes.
#include "support/ReadBack.h"

#include <QImage>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

QString ReadBack::run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return u"%1 failed: %2"_s.arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QStringList ReadBack::pdfPages(const QString& path)
{
    QStringList pages = run(u"pdftotext"_s, {path, u"-"_s}).split(u'\f');
    for (QString& page : pages)
        page = page.simplified();
    if (!pages.isEmpty() && pages.last().isEmpty())
        pages.removeLast();
    return pages;
}

QString ReadBack::scan(const QImage& image, const QRect& region)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(u"scan.png"_s);
    // The symbol with a white margin of its own, as a scanner sees it on the label.
    QImage framed(region.size() + QSize(40, 40), QImage::Format_RGB32);
    framed.fill(Qt::white);
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < region.width(); ++x)
            framed.setPixel(x + 20, y + 20, image.pixel(region.left() + x, region.top() + y));
    if (!framed.save(png))
        return u"cannot save %1"_s.arg(png);
    return run(u"zbarimg"_s, {u"-q"_s, u"--raw"_s, png});
}
