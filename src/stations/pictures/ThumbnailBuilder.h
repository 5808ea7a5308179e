// Draws the thumbnails of a folder on a thread of its own, so that a folder of thousands of
// pictures never freezes the window; the finished thumbnails arrive on the window's thread in
// small batches, in the order of the file list.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>


class ThumbnailBuilder : public QObject {
    Q_OBJECT
public:
    struct Thumb {
        QString fileName;
        QImage image;
    };

    explicit ThumbnailBuilder(QObject* parent = nullptr);
    ~ThumbnailBuilder() override;

    /// Starts listing the picture files of folder and drawing them; a build still running is
    /// stopped first and its results never arrive. Files that cannot be read as pictures are
    /// left out.
    void start(const QString& folder, QSize box, const QColor& face);
    /// Stops the running build; nothing more arrives from it.
    void cancel();
    bool isRunning() const { return m_thread.joinable(); }

    /// Reads one picture file at no more than the size a thumbnail box needs.
    static QImage readPicture(const QString& path, QSize box);

signals:
    /// The folder's picture files were listed: how many there are.
    void listed(int files);
    void thumbnailsReady(const QList<ThumbnailBuilder::Thumb>& thumbs);
    /// Files looked at so far of all files.
    void progress(int done, int total);
    void finished();

private:
    void deliver(quint64 generation, const QList<Thumb>& thumbs, int done, int total);
    void deliverListed(quint64 generation, int total);
    void threadDone(quint64 generation);

    // Joined, not detached: the thread and its per-thread data are gone when the window is.
    std::thread m_thread;
    std::shared_ptr<std::atomic_bool> m_stop;
    quint64 m_generation = 0;
};
