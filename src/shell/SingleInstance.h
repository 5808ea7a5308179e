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

    /// One file per user id in a folder only the user can write to: $XDG_RUNTIME_DIR, else
    /// /run/user/<uid>, else a 0700 folder of the user (/tmp/mirel-<uid>, or in the home folder
    /// when another user holds that name); the temporary folder on Windows. MIREL_LOCK_DIR names
    /// another folder (test runs that start copies side by side).
    static QString defaultLockPath();
    const QString& lockPath() const { return m_path; }

    /// After a refused acquire(): the process id of the copy that holds the lock (0 unknown).
    qint64 holder() const;

    /// The refusal text shown to the operator: the running process and how to end it on this
    /// system.
    static QString refusalText(qint64 pid);

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
