// mirel-sql: administrators try stored SQL and fitters prepare databases with it; tests use it.
#include "SqlTool.h"

#include "codec/TextCodec.h"
#include "db/Connection.h"
#include "db/EmbeddedSchema.h"
#include "shell/Database.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

struct Options {
    QString connection;
    QStringList batches;
    bool init = false;
    bool demo = false;
    bool translate = false;
};

int fail(const QString& message)
{
    QTextStream(stderr) << message << Qt::endl;
    return 2;
}

QString readStdin()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(in.readAll());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mirel-sql"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Runs T-SQL through the stations' database layer and prints each batch's last result set "
        "as tab-separated text. Statements come from -e, from the arguments, or from stdin "
        "(batches separated by GO lines)."));
    p.addHelpOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Program folder."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption connection(QStringLiteral("connection"),
                                        QStringLiteral("Connection string (default: config.ini)."),
                                        QStringLiteral("STRING"));
    const QCommandLineOption exec(QStringList{QStringLiteral("e")},
                                  QStringLiteral("A T-SQL batch (repeatable)."),
                                  QStringLiteral("SQL"));
    const QCommandLineOption init(QStringLiteral("init"), QStringLiteral("Create the schema."));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Add the demo rows."));
    const QCommandLineOption initDemo(QStringLiteral("init-demo"),
                                      QStringLiteral("Create the schema and add the demo rows."));
    const QCommandLineOption encode(QStringLiteral("encode"),
                                    QStringLiteral("Print the encoded form of a connection string "
                                                   "for config.ini and exit."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption translate(QStringLiteral("translate"),
                                       QStringLiteral("Print the SQLite text instead of running."));
    p.addOptions({home, connection, exec, init, demo, initDemo, encode, translate});
    p.addPositionalArgument(QStringLiteral("SQL"), QStringLiteral("T-SQL batches."),
                            QStringLiteral("[SQL…]"));
    p.process(app);

    if (p.isSet(home))
        qputenv("MIREL_HOME", p.value(home).toUtf8());
    if (p.isSet(encode)) {
        QTextStream(stdout) << TextCodec::encodeText(p.value(encode), QStringLiteral("orvex"))
                            << Qt::endl;
        return 0;
    }
    Options o;
    o.init = p.isSet(init) || p.isSet(initDemo);
    o.demo = p.isSet(demo) || p.isSet(initDemo);
    o.translate = p.isSet(translate);
    o.connection = p.isSet(connection)
                       ? SqlTool::commandLineConnection(p.value(connection), QDir::currentPath())
                       : Database::connectionSetting();
    o.batches = p.values(exec) + p.positionalArguments();
    if (o.batches.isEmpty() && !o.init && !o.demo)
        o.batches = SqlTool::batches(readStdin());

    QTextStream out(stdout), err(stderr);
    Connection conn;
    try {
        if (o.init)
            conn.openOrCreate(o.connection);
        else
            conn.open(o.connection);
        if (o.init)
            EmbeddedSchema::create(conn);
        if (o.demo)
            EmbeddedSchema::addDemoRows(conn);
        if (o.translate) {
            for (const QString& b : o.batches)
                out << conn.translate(b) << Qt::endl;
            return 0;
        }
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return SqlTool::run(conn, o.batches, out, err);
}
