#include "stations/inspection/DefectPhotos.h"

#include "config/ProgramFolder.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/SqlText.h"
#include "time/Clock.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

const QString Table = u"checkDetailPhoto"_s;

// The embedded database's table, as schema/sqlite.sql creates it on a new database.
const QString CreateTable =
    u"CREATE TABLE IF NOT EXISTS checkDetailPhoto (id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "detailId INTEGER, fileName TEXT COLLATE NOCASE, takenAt DATETIME);"
    "CREATE INDEX IF NOT EXISTS ix_checkdetailphoto_detail ON checkDetailPhoto(detailId);"_s;

QString plain(const QString& part)
{
    static const QRegularExpression bad(u"[\\\\/:*?\"<>|\\x00-\\x1f]"_s);
    return QString(part).replace(bad, u"_"_s);
}

} // namespace

DefectPhotos::DefectPhotos(const QString& folder, int keepDays)
    : m_folder(folder.isEmpty() ? ProgramFolder::file(u"照片"_s) : QDir::cleanPath(folder)),
      m_keepDays(keepDays)
{
}

DefectPhotos DefectPhotos::inFolder(const QString& folder) const
{
    DefectPhotos other = *this;
    other.m_folder = QDir::cleanPath(folder);
    return other;
}

QString DefectPhotos::fileName(const Owner& owner, const QDate& day, int n)
{
    const QString again = n > 1 ? u"_"_s + QString::number(n) : QString();
    return u"%1/%2-%3-%4-%5%6.jpg"_s.arg(day.toString(u"yyMM"_s), plain(owner.station), plain(owner.card),
                                          plain(owner.roll), QString::number(owner.defect), again);
}

QString DefectPhotos::write(const QByteArray& jpeg, const Owner& owner, const QDate& day,
                            QString* error) const
{
    int n = 1;
    while (QFileInfo::exists(m_folder + u'/' + fileName(owner, day, n)))
        ++n;
    const QString name = fileName(owner, day, n);
    const QString path = m_folder + u'/' + name;
    QSaveFile f(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !f.open(QIODevice::WriteOnly)
        || f.write(jpeg) != jpeg.size() || !f.commit()) {
        if (error)
            *error = u"照片存不进 %1：%2"_s.arg(path, f.errorString());
        return {};
    }
    return name;
}

bool DefectPhotos::prepare(Connection& conn)
{
    // The embedded database is the program's own; a mill's database (SQL Server, or whatever
    // its ODBC driver reaches) gets its tables from the administrator's script.
    if (ConnectionString::resolve(conn.connectionString()).kind == ConnectionTarget::Sqlite) {
        conn.execute(CreateTable);
        return m_rows = true;
    }
    m_rows = conn.execute(u"select case when object_id('checkDetailPhoto') is null then 0 else 1 end"_s)
                 .field(0)
                 .toInt()
             == 1;
    static std::atomic<bool> said = false;
    if (!m_rows && !said.exchange(true))
        qWarning().noquote() << "checkDetailPhoto: 数据库里没有这个表，疵点照片只存成文件";
    return m_rows;
}

QString DefectPhotos::insertRow(const QString& detailId, const QString& file, const QDateTime& taken)
{
    return u"insert into checkDetailPhoto (detailId,fileName,takenAt) values ("_s + detailId
           + u","_s + SqlText::quoted(file) + u",'"_s + SqlText::dateTime(taken) + u"')"_s;
}

QString DefectPhotos::deleteOfRoll(qint64 rollId)
{
    return u"delete from checkDetailPhoto where detailId in (select id from checkDetail where checkId="_s
           + QString::number(rollId) + u")"_s;
}

void DefectPhotos::addRow(Connection& conn, qint64 detailId, const QString& file,
                          const QDateTime& taken) const
{
    if (m_rows)
        conn.execute(insertRow(QString::number(detailId), file, taken));
}

void DefectPhotos::fillRows(Connection& conn, qint64 rollId, QList<QStringList>& rows) const
{
    if (!m_rows)
        return;
    Recordset rs = conn.execute(
        u"select (select min(fileName) from checkDetailPhoto p where p.detailId=d.id) from checkDetail d "
        "where d.checkId="_s + QString::number(rollId) + u" order by d.id"_s);
    for (qsizetype i = 0; !rs.eof() && i < rows.size(); rs.moveNext(), ++i)
        if (const QString file = rs.text(0); !file.isEmpty()) {
            rows[i].resize(Column + 1);
            rows[i][Column] = file;
        }
}

QDateTime DefectPhotos::takenAt(const QString& file) const
{
    const QFileInfo f(m_folder + u'/' + file);
    return f.exists() ? f.lastModified() : Clock::now();
}

int DefectPhotos::moveKept(const DefectPhotos& offline) const
{
    int left = 0;
    const QDir from(offline.folder());
    for (QDirIterator it(from.path(), {u"*.jpg"_s}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString source = it.next();
        const QString target = m_folder + u'/' + from.relativeFilePath(source);
        // A copy cut off half-way is written again; the kept file goes only once it is there.
        const bool moved = QDir().mkpath(QFileInfo(target).path())
                           && (!QFile::exists(target) || QFile::remove(target))
                           && QFile::copy(source, target) && QFile::remove(source);
        left += moved ? 0 : 1;
    }
    return left;
}

int DefectPhotos::sweep(Connection& conn, const QDateTime& now) const
{
    if (!m_rows)
        return 0;
    QSet<QString> named;
    Recordset rs = conn.execute(u"select fileName from checkDetailPhoto"_s);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        named.insert(QDir::fromNativeSeparators(rs.text(0)).toLower());
    const QDateTime before = now.addDays(-m_keepDays);
    const QDir root(m_folder);
    int removed = 0;
    for (QDirIterator it(m_folder, {u"*.jpg"_s}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo f(it.next());
        if (f.lastModified() < before && !named.contains(root.relativeFilePath(f.filePath()).toLower())
            && QFile::remove(f.filePath()))
            ++removed;
    }
    return removed;
}
