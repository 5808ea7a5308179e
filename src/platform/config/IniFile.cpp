// ini parsing on a line list so that a write changes exactly one line and leaves the rest alone.
#include "config/IniFile.h"

#include "config/LegacyEncoding.h"
#include "config/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QLockFile>
#include <QMutex>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

using namespace Qt::StringLiterals;

struct IniFile::Text {
    enum Encoding { Utf8, Gb18030, Utf16Le, Utf16Be };
    QStringList lines;
    QString eol = u"\r\n"_s;
    Encoding encoding = Utf8;
    bool bom = false;
    QString problem; ///< why the bytes are no text the program reads; empty when they are
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

// Every header of the section in file order: a section written twice (a block appended by hand
// after the program's own) is one section, its later keys winning.
QList<Range> findSections(const QStringList& lines, const QString& section)
{
    QList<Range> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = headerName(lines[i]);
        if (name.isNull())
            continue;
        if (!found.isEmpty() && found.last().end < 0)
            found.last().end = i;
        if (sameName(name, section))
            found.append(Range{i, -1});
    }
    if (!found.isEmpty() && found.last().end < 0)
        found.last().end = lines.size();
    return found;
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
const QString NoValue = u"\n"_s;

// The line of the key that counts: in the last of the section's blocks that has it.
qsizetype findKey(const QStringList& lines, const QList<Range>& sections, const QString& key,
                  QString* value)
{
    for (qsizetype s = sections.size() - 1; s >= 0; --s)
        if (const qsizetype at = findKey(lines, sections[s], key, value); at >= 0)
            return at;
    return -1;
}

// Words the program's own files hold: the decoding of ambiguous bytes that shows them is the
// file's.
const char16_t* const knownWords[] = {u"缺省", u"看板配置", u"库存看板", u"时间间隔",
                                      u"跑马灯内容", u"看板SQL", u"长度", u"工号"};

int knownWordCount(const QString& text)
{
    int n = 0;
    for (const char16_t* w : knownWords)
        n += int(text.count(QString::fromUtf16(w)));
    return n;
}

// True when every character beyond ASCII is Chinese text or its punctuation: what a mill's file
// holds. GB18030 bytes read as UTF-8 give Latin and IPA letters instead.
bool chineseOnly(const QString& text)
{
    bool any = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            continue;
        any = true;
        const bool chinese = (u >= 0x2000 && u <= 0x206F) || (u >= 0x3000 && u <= 0x30FF) ||
                             (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF) ||
                             c.isSurrogate();
        if (!chinese)
            return false;
    }
    return any;
}

bool decodeUtf16(const QByteArray& bytes, QStringDecoder::Encoding encoding, QString* text)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    *text = decoder(bytes);
    return !decoder.hasError() && bytes.size() % 2 == 0;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)), m_state(ProgramFolder::stateFileFor(m_path))
{
}

IniFile::Text IniFile::load() const
{
    Text t;
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (f.exists())
            t.problem = u"不能读取（%1）"_s.arg(f.errorString());
        return t;
    }
    QByteArray bytes = f.readAll();
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // Notepad's "Unicode" and "Unicode big endian".
        t.bom = true;
        t.encoding = bytes.startsWith("\xFF\xFE") ? Text::Utf16Le : Text::Utf16Be;
        if (!decodeUtf16(bytes.mid(2),
                         t.encoding == Text::Utf16Le ? QStringDecoder::Utf16LE
                                                     : QStringDecoder::Utf16BE,
                         &text))
            t.problem = u"标着 UTF-16，内容却不是 UTF-16 文本"_s;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        t.bom = true;
        bytes.remove(0, 3);
        if (LegacyEncoding::isValidUtf8(bytes))
            text = QString::fromUtf8(bytes);
        else
            t.problem = u"标着 UTF-8，内容却不是 UTF-8 文本"_s;
    } else if (bytes.contains('\0')) {
        t.problem = u"不是文本文件（UTF-16 的文件要带 BOM）"_s;
    } else {
        const bool utf8 = LegacyEncoding::isValidUtf8(bytes);
        const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        QString gb;
        const bool gb18030 = !ascii && LegacyEncoding::strictGb18030(bytes, &gb);
        if (utf8)
            text = QString::fromUtf8(bytes);
        // Short Chinese texts in GB18030 are often valid UTF-8 too ("缺省" reads as "ȱʡ"): the
        // reading that shows the program's own words, or else only Chinese, is the file's.
        if (gb18030 && (!utf8 || knownWordCount(gb) > knownWordCount(text) ||
                        (knownWordCount(gb) == knownWordCount(text) && chineseOnly(gb) &&
                         !chineseOnly(text)))) {
            t.encoding = Text::Gb18030;
            text = gb;
        } else if (!utf8) {
            t.problem = u"既不是 UTF-8 也不是 GB18030 文本，无法识别"_s;
        }
    }
    if (!t.problem.isEmpty())
        return t;
    t.eol = text.contains(u"\r\n"_s) || !text.contains(u'\n') ? u"\r\n"_s : u"\n"_s;
    text.replace(u"\r\n"_s, u"\n"_s);
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
    QByteArray bytes;
    switch (t.encoding) {
    case Text::Gb18030:
        bytes = LegacyEncoding::toGb18030(text);
        break;
    case Text::Utf16Le:
    case Text::Utf16Be:
        bytes = QStringEncoder(t.encoding == Text::Utf16Le ? QStringEncoder::Utf16LE
                                                           : QStringEncoder::Utf16BE,
                               QStringEncoder::Flag::WriteBom)(text);
        break;
    case Text::Utf8:
        bytes = text.toUtf8();
        if (t.bom)
            bytes.prepend("\xEF\xBB\xBF");
        break;
    }
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
    QString value;
    return findKey(t.lines, findSections(t.lines, section), key, &value) < 0 ? def : value;
}

QString IniFile::problem() const { return load().problem; }

bool IniFile::update(const std::function<bool(Text&)>& change, QString* error) const
{
    // Two programs that update one file at once (simulators started together, a station saving
    // a setting meanwhile) each read it, change a line and put it back: under the lock the second
    // reads what the first has written instead of putting its older copy over it. A write takes
    // some tens of milliseconds on a panel's flash disk (it is synced), and the lock is not
    // queued fairly: several programs writing at once can keep one waiting for seconds.
    // Threads of this program wait their turn here, woken in order, rather than polling the
    // lock file against each other (a poller can lose every round for seconds on a busy panel).
    static QMutex inThisProgram;
    const QMutexLocker turn(&inThisProgram);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + u".lock"_s);
    if (!lock.tryLock(10000)) {
        if (error)
            *error =
                (lock.error() == QLockFile::LockFailedError ? u"%1 正被另一个程序写入，请稍后再试"_s
                                                            : u"%1 所在的文件夹不能写入"_s)
                    .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    Text t = load();
    if (!t.problem.isEmpty()) {
        // Written over, the file would lose what it holds.
        if (error)
            *error = QDir::toNativeSeparators(m_path) + u"："_s + t.problem;
        return false;
    }
    return !change(t) || save(t, error);
}

bool IniFile::write(const QString& section, const QString& key, const QString& value,
                    QString* error) const
{
    if (!m_state.isEmpty())
        return IniFile(m_state, QString()).write(section, key, value, error);
    return update(
        [&](Text& t) {
            const QList<Range> sections = findSections(t.lines, section);
            const QString line = key + u'=' + value;
            if (sections.isEmpty()) {
                if (!t.lines.isEmpty() && !t.lines.last().trimmed().isEmpty())
                    t.lines << QString();
                t.lines << u'[' + section + u']' << line;
                return true;
            }
            const qsizetype at = findKey(t.lines, sections, key, nullptr);
            if (at >= 0) {
                QString k, v;
                keyLine(t.lines[at], &k, &v);
                t.lines[at] = k + u'=' + value; // keep the spelling the file already uses
            } else {
                const Range& r = sections.last();
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
            // Every line of the key: one left in an earlier block would come back.
            bool removed = false;
            qsizetype at;
            while ((at = findKey(t.lines, findSections(t.lines, section), key, nullptr)) >= 0) {
                t.lines.removeAt(at);
                removed = true;
            }
            return removed;
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
            const QList<Range> sections = findSections(t.lines, section);
            for (qsizetype s = sections.size() - 1; s >= 0; --s)
                t.lines.remove(sections[s].header, sections[s].end - sections[s].header);
            return !sections.isEmpty();
        },
        error);
}

QStringList IniFile::keys(const QString& section) const
{
    const Text t = load();
    QStringList out;
    QString k, v;
    for (const Range& r : findSections(t.lines, section))
        for (qsizetype i = r.header + 1; i < r.end; ++i)
            if (keyLine(t.lines[i], &k, &v) &&
                std::none_of(out.cbegin(), out.cend(),
                             [&](const QString& o) { return sameName(o, k); }))
                out << k;
    if (!m_state.isEmpty())
        for (const QString& own : IniFile(m_state, QString()).keys(section))
            if (std::none_of(out.cbegin(), out.cend(), [&](const QString& o) { return sameName(o, own); }))
                out << own;
    return out;
}
