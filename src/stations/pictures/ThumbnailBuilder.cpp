// The thumbnail thread of the picture browsers.
#include "stations/pictures/ThumbnailBuilder.h"

#include "stations/pictures/ItemPictures.h"

#include <QDir>
#include <QImageReader>
#include <QPointer>

namespace {
// Thumbnails per delivery: few enough that the first ones show at once, enough that two
// thousand pictures do not flood the window's event queue.
constexpr int batchSize = 24;
} // namespace

ThumbnailBuilder::ThumbnailBuilder(QObject* parent) : QObject(parent) {}

ThumbnailBuilder::~ThumbnailBuilder()
{
    cancel();
}

QImage ThumbnailBuilder::readPicture(const QString& path, QSize box)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    // JPEG decodes straight at the smaller size: a folder of camera pictures is read in a
    // fraction of the time and memory.
    if (full.isValid() && (full.width() > box.width() - 2 || full.height() > box.height() - 2))
        reader.setScaledSize(
            full.scaled(box - QSize(2, 2), Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

void ThumbnailBuilder::start(const QString& folder, QSize box, const QColor& face)
{
    cancel();
    const quint64 generation = ++m_generation;
    auto stop = std::make_shared<std::atomic_bool>(false);
    m_stop = stop;
    QPointer<ThumbnailBuilder> self(this);
    m_thread = std::thread([=] {
        // Hands a result to the window's thread, where a newer build may have replaced this one.
        const auto post = [self](auto call) {
            QMetaObject::invokeMethod(
                self.data(),
                [self, call] {
                    if (self)
                        call(*self);
                },
                Qt::QueuedConnection);
        };
        // Listing a folder of thousands of files takes milliseconds of its own.
        const QStringList files = ItemPictures::pictureFiles(folder);
        const int total = int(files.size());
        post([generation, total](ThumbnailBuilder& b) { b.deliverListed(generation, total); });
        QList<Thumb> batch;
        const QDir dir(folder);
        for (int i = 0; i < total && !*stop; ++i) {
            const QImage picture = readPicture(dir.filePath(files[i]), box);
            if (!picture.isNull())
                batch.append({files[i], ItemPictures::thumbnail(picture, box, face)});
            if (batch.size() >= batchSize || i == total - 1) {
                post([generation, batch, i, total](ThumbnailBuilder& b) {
                    b.deliver(generation, batch, i + 1, total);
                });
                batch.clear();
            }
        }
        post([generation](ThumbnailBuilder& b) { b.threadDone(generation); });
    });
}

void ThumbnailBuilder::cancel()
{
    if (!m_thread.joinable())
        return;
    *m_stop = true;
    ++m_generation;
    // The thread stops after the picture it is reading; waiting here keeps no reader of a
    // folder alive behind the window.
    m_thread.join();
}

void ThumbnailBuilder::deliver(quint64 generation, const QList<Thumb>& thumbs, int done, int total)
{
    if (generation != m_generation)
        return;
    if (!thumbs.isEmpty())
        emit thumbnailsReady(thumbs);
    emit progress(done, total);
}

void ThumbnailBuilder::deliverListed(quint64 generation, int total)
{
    if (generation == m_generation)
        emit listed(total);
}

void ThumbnailBuilder::threadDone(quint64 generation)
{
    if (generation != m_generation)
        return;
    m_thread.join(); // it ends right after handing this over
    emit finished();
}
