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

using namespace Qt::StringLiterals;

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
    QCoreApplication::setApplicationName(u"mirel-sql"_s);
    QCommandLineParser p;
    p.setApplicationDescription(
        u"Runs T-SQL through the stations' database layer and prints each batch's last result set "
        "as tab-separated text. Statements come from -e, from the arguments, or from stdin "
        "(batches separated by GO lines)."_s);
    p.addHelpOption();
    const QCommandLineOption home(u"home"_s, u"Program folder."_s, u"DIR"_s);
    const QCommandLineOption connection(u"connection"_s,
                                        u"Connection string (default: config.ini)."_s, u"STRING"_s);
    const QCommandLineOption exec(QStringList{u"e"_s}, u"A T-SQL batch (repeatable)."_s, u"SQL"_s);
    const QCommandLineOption init(u"init"_s, u"Create the schema."_s);
    const QCommandLineOption demo(u"demo"_s, u"Add the demo rows."_s);
    const QCommandLineOption initDemo(u"init-demo"_s,
                                      u"Create the schema and add the demo rows."_s);
    const QCommandLineOption encode(u"encode"_s,
                                    u"Print the encoded form of a connection string "
                                    "for config.ini and exit."_s,
                                    u"TEXT"_s);
    const QCommandLineOption translate(u"translate"_s,
                                       u"Print the SQLite text instead of running."_s);
    p.addOptions({home, connection, exec, init, demo, initDemo, encode, translate});
    p.addPositionalArgument(u"SQL"_s, u"T-SQL batches."_s, u"[SQL…]"_s);
    p.process(app);

    if (p.isSet(home))
        qputenv("MIREL_HOME", p.value(home).toUtf8());
    if (p.isSet(encode)) {
        QTextStream(stdout) << TextCodec::encodeText(p.value(encode), u"orvex"_s) << Qt::endl;
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
