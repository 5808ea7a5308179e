// A folder a line camera drops its pictures into: the picture of a defect is the newest one
// written within a few seconds of the inspector's touch.
#pragma once

#include "camera/CameraSource.h"

class FolderSnapshot : public CameraSource {
    Q_OBJECT
public:
    FolderSnapshot(const QString& folder, int windowSeconds, QObject* parent = nullptr);

    /// The newest picture file of folder written within windowSeconds of touched (either side);
    /// "" when there is none.
    static QString pick(const QString& folder, const QDateTime& touched, int windowSeconds);

protected:
    /// Waits until the window after the touch has passed (the camera may still be writing),
    /// then picks.
    void fetch(int ticket, const QDateTime& touched) override;

private:
    QString m_folder;
    int m_window;
};
