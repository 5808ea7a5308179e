// One running copy of the program per user and machine.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

class SingleInstance {
public:
    /// Lock file in the user's runtime folder (or the temporary folder when there is none).
    SingleInstance();
    explicit SingleInstance(QString lockPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// Takes the lock; false when another live copy holds it. A lock left behind by a copy that
    /// crashed is taken over.
    bool acquire();

    static QString defaultLockPath();
    const QString& lockPath() const { return m_path; }

    /// The refusal text shown to the operator.
    static QString refusalText();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
