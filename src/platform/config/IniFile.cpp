// ini parsing on a line list so that a write changes exactly one line and leaves the rest alone.
#include "config/IniFile.h"

#include "config/LegacyEncoding.h"
#include "config/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QLockFile>
#include <QSaveFile>

struct IniFile::Text {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
    bool gb18030 = false;
    bool bom = false;
};

namespace {

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The section name of a header line, or a null string when the line is no header.
QString headerName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'[') || !t.contains(u']'))
        return QString();
    return t.mid(1, t.indexOf(u']') - 1).trimmed();
}

bool isComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(u';') || t.startsWith(u'#');
}

// Splits a key line; false for blank, comment and malformed lines.
bool keyLine(const QString& line, QString* key, QString* value)
{
    if (isComment(line))
        return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (key->isEmpty())
        return false;
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

// Index range [begin, end) of a section's body lines; begin = -1 when absent.
struct Range {
    qsizetype header = -1;
    qsizetype end = -1;
};

Range findSection(const QStringList& lines, const QString& section)
{
    Range r;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = headerName(lines[i]);
        if (name.isNull())
            continue;
        if (r.header >= 0) {
            r.end = i;
            return r;
        }
        if (sameName(name, section))
            r.header = i;
    }
    if (r.header >= 0)
        r.end = lines.size();
    return r;
}

qsizetype findKey(const QStringList& lines, const Range& r, const QString& key, QString* value)
{
    QString k, v;
    for (qsizetype i = r.header + 1; i < r.end; ++i) {
        if (keyLine(lines[i], &k, &v) && sameName(k, key)) {
            if (value)
                *value = v;
            return i;
        }
    }
    return -1;
}

// What read() gives for a key the file lacks: a value read from a line holds no line break.
const QString NoValue = QStringLiteral("\n");

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)), m_state(ProgramFolder::stateFileFor(m_path))
{
}

IniFile::Text IniFile::load() const
{
    Text t;
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return t;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        t.bom = true;
        bytes.remove(0, 3);
    }
    QString text;
    if (LegacyEncoding::isValidUtf8(bytes)) {
        text = QString::fromUtf8(bytes);
    } else {
        t.gb18030 = true;
        text = LegacyEncoding::fromGb18030(bytes);
    }
    t.eol = text.contains(QStringLiteral("\r\n")) || !text.contains(u'\n') ? QStringLiteral("\r\n")
                                                                           : QStringLiteral("\n");
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.lines = text.split(u'\n');
    if (!t.lines.isEmpty() && t.lines.last().isEmpty())
        t.lines.removeLast();
    return t;
}

bool IniFile::save(const Text& t, QString* error) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QString text = t.lines.join(t.eol) + t.eol;
    QByteArray bytes = t.gb18030 ? LegacyEncoding::toGb18030(text) : text.toUtf8();
    if (t.bom)
        bytes.prepend("\xEF\xBB\xBF");
    f.write(bytes);
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

QString IniFile::read(const QString& section, const QString& key, const QString& def) const
{
    if (!m_state.isEmpty()) {
        const QString recorded = IniFile(m_state, QString()).read(section, key, NoValue);
        if (recorded != NoValue)
            return recorded;
    }
    const Text t = load();
    const Range r = findSection(t.lines, section);
    if (r.header < 0)
        return def;
    QString value;
    return findKey(t.lines, r, key, &value) < 0 ? def : value;
}

bool IniFile::update(const std::function<bool(Text&)>& change, QString* error) const
{
    // Two programs that update one file at once (simulators started together, a station saving
    // a setting meanwhile) each read it, change a line and put it back: under the lock the second
    // reads what the first has written instead of putting its older copy over it. A write takes
    // some tens of milliseconds on a panel's flash disk (it is synced), and the lock is not
    // queued fairly: several programs writing at once can keep one waiting for seconds.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(10000)) {
        if (error)
            *error = (lock.error() == QLockFile::LockFailedError
                          ? QStringLiteral("%1 正被另一个程序写入，请稍后再试")
                          : QStringLiteral("%1 所在的文件夹不能写入"))
                         .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    Text t = load();
    return !change(t) || save(t, error);
}

bool IniFile::write(const QString& section, const QString& key, const QString& value,
                    QString* error) const
{
    if (!m_state.isEmpty())
        return IniFile(m_state, QString()).write(section, key, value, error);
    return update(
        [&](Text& t) {
            const Range r = findSection(t.lines, section);
            const QString line = key + u'=' + value;
            if (r.header < 0) {
                if (!t.lines.isEmpty() && !t.lines.last().trimmed().isEmpty())
                    t.lines << QString();
                t.lines << u'[' + section + u']' << line;
                return true;
            }
            const qsizetype at = findKey(t.lines, r, key, nullptr);
            if (at >= 0) {
                QString k, v;
                keyLine(t.lines[at], &k, &v);
                t.lines[at] = k + u'=' + value; // keep the spelling the file already uses
            } else {
                qsizetype insertAt = r.end;
                while (insertAt > r.header + 1 && t.lines[insertAt - 1].trimmed().isEmpty())
                    --insertAt;
                t.lines.insert(insertAt, line);
            }
            return true;
        },
        error);
}

bool IniFile::removeKey(const QString& section, const QString& key, QString* error) const
{
    if (!m_state.isEmpty()) {
        // The admin's value cannot be removed: an empty one of the program's hides it.
        const IniFile recorded(m_state, QString());
        return IniFile(m_path, QString()).read(section, key, NoValue) == NoValue
                   ? recorded.removeKey(section, key, error)
                   : recorded.write(section, key, QString(), error);
    }
    return update(
        [&](Text& t) {
            const Range r = findSection(t.lines, section);
            const qsizetype at = r.header < 0 ? -1 : findKey(t.lines, r, key, nullptr);
            if (at >= 0)
                t.lines.removeAt(at);
            return at >= 0;
        },
        error);
}

bool IniFile::removeSection(const QString& section, QString* error) const
{
    if (!m_state.isEmpty()) {
        const IniFile recorded(m_state, QString());
        bool ok = recorded.removeSection(section, error);
        for (const QString& key : IniFile(m_path, QString()).keys(section))
            ok = ok && recorded.write(section, key, QString(), error);
        return ok;
    }
    return update(
        [&](Text& t) {
            const Range r = findSection(t.lines, section);
            if (r.header >= 0)
                t.lines.remove(r.header, r.end - r.header);
            return r.header >= 0;
        },
        error);
}

QStringList IniFile::keys(const QString& section) const
{
    const Text t = load();
    const Range r = findSection(t.lines, section);
    QStringList out;
    QString k, v;
    for (qsizetype i = r.header + 1; r.header >= 0 && i < r.end; ++i)
        if (keyLine(t.lines[i], &k, &v)
            && std::none_of(out.cbegin(), out.cend(), [&](const QString& o) { return sameName(o, k); }))
            out << k;
    if (!m_state.isEmpty())
        for (const QString& own : IniFile(m_state, QString()).keys(section))
            if (std::none_of(out.cbegin(), out.cend(), [&](const QString& o) { return sameName(o, own); }))
                out << own;
    return out;
}
