#include "support/SqliteOdbc.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace SqliteOdbc {

QString driver()
{
    // Registered as "SQLite3" by the package; the library path works without registration.
    for (const char* f :
         {"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so",
          "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so", "/usr/lib/odbc/libsqlite3odbc.so"}) {
        if (QFile::exists(QString::fromLatin1(f)))
            return QString::fromLatin1(f);
    }
    return QString();
}

QString dataSource(const QString& folder, const QString& prefix, const QString& database)
{
    // The driver manager keeps what it read of a name for the life of the process.
    static int count = 0;
    const QString name = prefix + QString::number(++count);
    const QString ini = folder + u"/odbc.ini"_s;
    QFile f(ini);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(u"[%1]\nDriver=%2\nDatabase=%3\nTimeout=30000\n"_s.arg(name, driver(), database)
                    .toUtf8());
    qputenv("ODBCINI", ini.toLocal8Bit());
    return u"DSN="_s + name;
}

} // namespace SqliteOdbc
