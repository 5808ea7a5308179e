// Reading and writing the program folder's ini files the way the Windows profile functions do:
// section and key names without regard to letter case, every read goes to the file, writes keep
// comments, order and other keys, and a file stays in its encoding: UTF-8, GB18030 or UTF-16
// (with BOM). A section written more than once is one section whose later keys win. Installed,
// the program writes its values into a state file of its own instead of the admin's ini file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class IniFile {
public:
    /// The ini file at path, read through the program's own recorded values of it
    /// (ProgramFolder::stateFileFor: none for a build tree or $MIREL_HOME).
    explicit IniFile(QString path);
    /// The ini file at path read through the state file `state` (empty: none): a key the state
    /// file holds overrides the ini's value, and every change goes into the state file only.
    IniFile(QString path, QString state) : m_path(std::move(path)), m_state(std::move(state)) {}

    /// The value of key in section, or def when the file, section or key is missing.
    QString read(const QString& section, const QString& key, const QString& def = QString()) const;

    /// Why the file's bytes cannot be read as text (without the file's name); empty
    /// when they can or when there is no file. Writes refuse such a file.
    QString problem() const;

    /// Stores the value, creating the file, section or key when missing. False (with a message in
    /// error) when the file cannot be written.
    bool write(const QString& section, const QString& key, const QString& value,
               QString* error = nullptr) const;

    bool removeKey(const QString& section, const QString& key, QString* error = nullptr) const;
    bool removeSection(const QString& section, QString* error = nullptr) const;

    /// Key names of a section in file order (the first spelling of each).
    QStringList keys(const QString& section) const;

    const QString& path() const { return m_path; }

private:
    struct Text;
    Text load() const;
    bool save(const Text& text, QString* error) const;
    /// Reads the file, lets change edit it (false: nothing to write) and puts it back, all under
    /// the lock file beside it.
    bool update(const std::function<bool(Text&)>& change, QString* error) const;

    QString m_path;
    QString m_state;
};
