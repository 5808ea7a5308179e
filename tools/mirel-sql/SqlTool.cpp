// Printing and batch running of mirel-sql.
#include "SqlTool.h"

#include "db/ConnectionString.h"
#include "db/SqlScript.h"

#include <QDir>
#include <QScopeGuard>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace SqlTool {

namespace {

QString cell(const DbValue& v)
{
    switch (v.type()) {
    case DbValue::Type::Null:
        return u"NULL"_s;
    case DbValue::Type::Bytes:
        return u"<%1 bytes>"_s.arg(v.toBytes().size());
    default: {
        QString s = v.toString();
        s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        return s;
    }
    }
}

} // namespace

QString format(const Recordset& rs)
{
    if (!rs.isOpen())
        return QString();
    QString text = rs.columns().join(u'\t') + u'\n';
    for (const auto& row : rs.rows()) {
        QStringList cells;
        for (const DbValue& v : row)
            cells << cell(v);
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

QStringList batches(const QString& script)
{
    static const QRegularExpression go(uR"(^\s*GO\s*$)"_s,
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::MultilineOption);
    QStringList out;
    for (const QString& b : script.split(go)) {
        if (!b.trimmed().isEmpty())
            out << b;
    }
    return out;
}

int run(Connection& conn, const QStringList& list, QTextStream& out, QTextStream& err)
{
    // PRINT goes between the results, where the batch printed it.
    SqlScript::setPrintHandler([&out, &err](const QString& message) {
        out.flush();
        err << message << Qt::endl;
    });
    const auto done = qScopeGuard([] { SqlScript::setPrintHandler({}); });
    for (const QString& batch : list) {
        try {
            out << format(conn.execute(batch));
        } catch (const DbError& e) {
            out.flush();
            err << e.message() << Qt::endl;
            return 1;
        }
    }
    out.flush();
    return 0;
}

QString commandLineConnection(const QString& connection, const QString& currentFolder)
{
    const QString source = ConnectionString::value(connection, u"Data Source"_s);
    const bool drivePath = source.size() > 2 && source.at(1) == u':' && source.at(0).isLetter();
    if (source.isEmpty() || QDir::isAbsolutePath(source) || drivePath ||
        ConnectionString::resolve(connection).kind != ConnectionTarget::Sqlite)
        return connection;
    static const QRegularExpression pair(u"(^|;)\\s*Data Source\\s*=[^;]*"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QString absolute = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(source));
    QString out = connection;
    const QRegularExpressionMatch m = pair.match(out);
    out.replace(m.capturedStart(), m.capturedLength(),
                m.captured(1) + u"Data Source="_s + absolute);
    return out;
}

} // namespace SqlTool
