// A packing station that drains the print pool of MIREL_HOME as fast as the database lets it and
// prints "done <id>" for every job it printed and committed; it ends when the pool is empty.
// Tests run two of them against one database, or kill one in the middle of a job. It prints
// "ready" once its window is loaded and starts when the file "go" appears in the program folder,
// so that two of them start draining together.
#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "stations/packing/BagPrintPool.h"
#include "stations/packing/frmBag.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    frmBag form;
    form.Form_Load();
    BagPrintPool* pool = form.printPool();
    QObject::connect(pool, &BagPrintPool::jobDone, [](qint64 id, const QString&, const QString&) {
        std::printf("done %lld\n", static_cast<long long>(id));
        std::fflush(stdout);
    });
    pool->PrintTimer().setInterval(0);
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer go;
    QObject::connect(&go, &QTimer::timeout, [&go, pool] {
        if (QFile::exists(ProgramFolder::file(QStringLiteral("go")))) {
            go.stop();
            pool->setEnabled(true);
        }
    });
    go.start(5);
    QTimer emptyCheck;
    QObject::connect(&emptyCheck, &QTimer::timeout, [pool] {
        if (!pool->isEnabled())
            return;
        try {
            const Recordset rs = Database::conn().execute(QStringLiteral("select count(*) from printpool"));
            if (rs.field(0).toLongLong() == 0)
                QCoreApplication::quit();
        } catch (const DbError&) {
            // Busy with the other station: look again on the next check.
        }
    });
    emptyCheck.start(50);
    return app.exec();
}
