#include "camera/FolderSnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

FolderSnapshot::FolderSnapshot(const QString& folder, int windowSeconds, QObject* parent)
    : CameraSource(parent), m_folder(folder), m_window(std::max(0, windowSeconds))
{
}

QString FolderSnapshot::pick(const QString& folder, const QDateTime& touched, int windowSeconds)
{
    const QStringList pictures = {u"*.jpg"_s, u"*.jpeg"_s, u"*.png"_s, u"*.bmp"_s};
    // Sorted newest first: the first one inside the window is the one.
    const QFileInfoList files = QDir(folder).entryInfoList(
        pictures, QDir::Files | QDir::Readable, QDir::Time);
    const qint64 window = qint64(windowSeconds) * 1000;
    for (const QFileInfo& f : files) {
        if (std::abs(f.lastModified().msecsTo(touched)) <= window)
            return f.filePath();
    }
    return {};
}

void FolderSnapshot::fetch(int ticket, const QDateTime& touched)
{
    const qint64 wait = QDateTime::currentDateTime().msecsTo(touched.addSecs(m_window));
    QTimer::singleShot(std::max<qint64>(0, wait), this, [this, ticket, touched] {
        const QString file = pick(m_folder, touched, m_window);
        QFile f(file);
        if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
            return fail(ticket, u"文件夹里没有这时拍的照片：%1"_s.arg(m_folder));
        answer(ticket, f.readAll());
    });
}
