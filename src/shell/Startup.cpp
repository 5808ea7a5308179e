// The start-up order matters: the running-copy check comes before any window or database.
#include "shell/Startup.h"

#include "config/FolderMode.h"
#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/Journal.h"
#include "shell/MesRun.h"
#include "shell/MessageBox.h"
#include "shell/Screenshot.h"
#include "shell/SingleInstance.h"
#include "shell/Station.h"
#include "shell/StationBeat.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace Startup {

namespace {

void printError(const QString& text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stderr);
}

int runMes(int argc, char** argv)
{
    // The scheduler starts this run without a display.
    QCoreApplication app(argc, argv);
    app.setApplicationName(u"mirel"_s);
    QString error;
    if (!MesRun::run(MesRun::defaultImport(), &error)) {
        printError(u"syncMesEvents: "_s + error);
        return 1;
    }
    return 0;
}

int showStation(QApplication& app, const StationChoice& choice)
{
    // Saves made while the database is away go into the journal: the operator learns at the
    // start, not after the first offline save, that this user cannot keep them.
    const QString journalProblem = Journal::writeProblem();
    if (!journalProblem.isEmpty())
        MessageBox::show(journalProblem, MessageBox::Exclamation);
    std::unique_ptr<QWidget> window(openStation(choice));
    if (!window)
        return 0;
    if (!window->isVisible())
        window->show();
    Screenshot::armFromEnvironment(window.get());
    StationBeat::start(stationName(choice.station));
    return app.exec();
}

int runServe(int argc, char** argv)
{
    const StationRegistry::StationRunner runner = StationRegistry::findRunner(Station::Serve);
    if (!runner) {
        printError(u"此工作站尚未安装"_s);
        return 1;
    }
    DbInfoCache::clear();
    const QString configProblem = Database::configProblem();
    if (!configProblem.isEmpty()) {
        printError(configProblem);
        return 1;
    }
    return runner(argc, argv);
}

} // namespace

QWidget* openStation(const StationChoice& choice)
{
    const StationFactory factory = StationRegistry::find(choice.station);
    if (!factory) {
        MessageBox::show(u"此工作站尚未安装"_s, MessageBox::Information);
        return nullptr;
    }
    return factory(choice);
}

bool installQtTranslations()
{
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

QString commandLineText(const QStringList& arguments)
{
    return arguments.mid(1).join(u' ');
}

int run(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString cmd = commandLineText(args);
    const StationChoice choice = chooseStation(cmd);
    QCoreApplication::setApplicationVersion(u"" MIREL_VERSION ""_s);
    // The web view runs beside a station on the same machine; a second one finds its port taken.
    if (choice.station == Station::Serve)
        return runServe(argc, argv);

    static SingleInstance instance;
    if (!instance.acquire()) {
        if (choice.station == Station::MesRun) {
            printError(SingleInstance::refusalText(instance.holder()));
        } else {
            QApplication app(argc, argv);
            app.setApplicationName(u"mirel"_s);
            MessageBox::show(SingleInstance::refusalText(instance.holder()), MessageBox::Information);
        }
        return 2;
    }
    DbInfoCache::clear();
    // What this run makes in the program folder (ini values, exports, pictures) takes the
    // folder's access, so that the other users of the panel's group can use it.
    FolderMode::adopt(ProgramFolder::path());
    const QString configProblem = Database::configProblem();
    if (choice.station == Station::MesRun) {
        if (!configProblem.isEmpty()) {
            printError(configProblem);
            return 1;
        }
        return runMes(argc, argv);
    }

    QApplication app(argc, argv);
    app.setApplicationName(u"mirel"_s);
    installQtTranslations();
    if (!configProblem.isEmpty()) {
        MessageBox::show(configProblem, MessageBox::Critical);
        return 1;
    }
    return showStation(app, choice);
}

} // namespace Startup
