// A program folder of its own for one test: MIREL_HOME points at a fresh temporary folder, and
// per-user settings go to a temporary place too.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    QString path() const { return m_dir.path(); }
    /// Absolute path of a file in the folder.
    QString file(const QString& name) const { return m_dir.path() + u'/' + name; }
    /// Writes raw bytes into a file of the folder (creating sub-folders).
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};
