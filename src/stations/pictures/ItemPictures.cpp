// Item pictures on disk and their thumbnails.
#include "stations/pictures/ItemPictures.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "stations/pictures/ThumbsSql.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace ItemPictures {

QString itemFolder(qint64 id)
{
    return ProgramFolder::file(u"\\pic\\"_s + QString::number(id));
}

QString exportItemPicture(qint64 id)
{
    const QString folder = itemFolder(id);
    QDir().mkpath(folder);
    const QString folderPath = folder + QDir::separator();
    Recordset rs;
    try {
        rs = Database::conn().execute(ThumbsSql::pictureQuery(id));
    } catch (const DbError& e) {
        // The item is shown without its stored picture; the reason is for the fitter.
        qWarning().noquote() << "exportItemPicture:" << e.message();
        return folderPath;
    }
    if (!Database::hasRecords(rs))
        return folderPath;
    const QString ext = rs.text(u"picName"_s).trimmed();
    if (ext.isEmpty())
        return folderPath;
    const QString name = QString::number(id) + u'.' + ext;
    if (const QString problem = ProgramFolder::fileNameProblem(name); !problem.isEmpty()) {
        // Written, it would land outside the item's folder.
        MessageBox::show(
            u"商品 %1 的图片扩展名“%2”不能用（%3），图片没有取出"_s.arg(id).arg(ext, problem),
            MessageBox::Critical);
        return folderPath;
    }
    const QString path = folder + QDir::separator() + name;
    // Written beside and renamed, so a picture being viewed is never half replaced.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rs.field(u"pic"_s).toBytes()) < 0 ||
        !file.commit()) {
        qWarning().noquote() << "exportItemPicture:" << path << file.errorString();
        return folderPath;
    }
    return path;
}

QString localPath(const QString& path)
{
    const bool drive = path.size() >= 2 && path[1] == u':' && path[0].isLetter();
    return drive ? ProgramFolder::systemPath(path) : path;
}

QString folderOf(const QString& path)
{
    const QString p = QDir::fromNativeSeparators(path);
    const qsizetype slash = p.lastIndexOf(u'/');
    return slash < 0 ? QString() : QDir::toNativeSeparators(p.left(slash + 1));
}

QStringList pictureFilters()
{
    // The Windows picture types the mill's files come in, and the PNG and JPEG files that
    // today's cameras and phones deliver. Windows metafiles (*.wmf, *.emf) are left out: no
    // reader on this machine draws them, and a strip of empty boxes helps nobody.
    return {u"*.bmp"_s, u"*.dib"_s, u"*.rle"_s, u"*.gif"_s, u"*.jpg"_s,
            u"*.ico"_s, u"*.cur"_s, u"*.png"_s, u"*.jpeg"_s};
}

QStringList pictureFiles(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList(pictureFilters(), QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QImage thumbnail(const QImage& picture, QSize box, const QColor& face)
{
    QImage thumb(box, QImage::Format_RGB32);
    thumb.fill(face);
    if (!picture.isNull()) {
        const double room = std::min(double(box.width() - 2) / picture.width(),
                                     double(box.height() - 2) / picture.height());
        const double factor = std::min(1.0, room);
        const QSize size(std::max(1, qRound(picture.width() * factor)),
                         std::max(1, qRound(picture.height() * factor)));
        QPainter p(&thumb);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect target(
            QPoint((box.width() - size.width()) / 2, (box.height() - size.height()) / 2), size);
        p.drawImage(target, picture);
        p.setPen(face.darker(160));
        p.drawRect(QRect(QPoint(0, 0), box).adjusted(0, 0, -1, -1));
    }
    return thumb;
}

QString shortName(const QString& name, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(name) <= width)
        return name;
    const QString dots = u"..."_s;
    QString head = name;
    while (!head.isEmpty() && metrics.horizontalAdvance(head + dots) > width)
        head.chop(1);
    return head + dots;
}

} // namespace ItemPictures
