// Picks the reader by the file's first bytes, so that an .xlsx saved under an .xls name (or the
// reverse) is still read.
#include "sheet/SheetFile.h"
#include "sheet/SheetReaders.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

enum class Format { Unknown, Xls, Xlsx };

Format formatOf(const QByteArray& head)
{
    // Excel 97-2003 files are OLE compound documents; .xlsx files are zip archives.
    static const QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    static const QByteArray zip("PK\x03\x04", 4);
    if (head.startsWith(ole))
        return Format::Xls;
    if (head.startsWith(zip))
        return Format::Xlsx;
    return Format::Unknown;
}

bool setError(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool readFirstSheet(const QString& path, SheetGrid* grid, QString* error)
{
    grid->clear();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return setError(error, u"文件不存在：%1"_s.arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return setError(error, u"无法打开文件：%1（%2）"_s.arg(path, file.errorString()));
    const Format format = formatOf(file.read(8));
    file.close();

    QString message;
    bool ok = false;
    if (format == Format::Xls)
        ok = detail::readXls(path, grid, &message);
    else if (format == Format::Xlsx)
        ok = detail::readXlsx(path, grid, &message);
    else
        message = u"不是 Excel 文件：%1"_s.arg(path);
    if (!ok) {
        grid->clear();
        return setError(error, message);
    }
    return true;
}

} // namespace sheet
