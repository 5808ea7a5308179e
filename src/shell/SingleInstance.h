// One running copy of the program per user and machine.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

class SingleInstance {
public:
    /// The lock file of defaultLockPath().
    SingleInstance();
    explicit SingleInstance(QString lockPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// Takes the lock; false when another live copy holds it. A lock left behind by a copy that
    /// crashed is taken over.
    bool acquire();

    /// One file per user id in a fixed folder of the machine (/run/lock, else /tmp; the
    /// temporary folder on Windows), the same whatever the environment of the starting shell;
    /// MIREL_LOCK_DIR names another folder (test runs that start copies side by side).
    static QString defaultLockPath();
    const QString& lockPath() const { return m_path; }

    /// The refusal text shown to the operator.
    static QString refusalText();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
