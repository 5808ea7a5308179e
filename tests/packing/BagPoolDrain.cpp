// A packing station that drains the print pool of MIREL_HOME as fast as the database lets it,
// prints "done <id>" for every job it printed and committed, and ends when the pool is empty.
// It prints "ready" once its window is loaded and starts when the file "go" appears in the
// program folder, so that two of them start draining together.
#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "stations/packing/BagPrintPool.h"
#include "stations/packing/frmBag.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    frmBag form;
    form.Form_Load();
    BagPrintPool* pool = form.printPool();
    QObject::connect(pool, &BagPrintPool::jobDone, [](qint64 id) { std::printf("done %lld\n", static_cast<long long>(id)); });
    pool->PrintTimer().setInterval(0);
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer check; // the go file, then the empty pool (busy with the other station: the next check)
    QObject::connect(&check, &QTimer::timeout, [pool] {
        std::fflush(stdout);
        if (!pool->isEnabled()) {
            pool->setEnabled(QFile::exists(ProgramFolder::file(u"go"_s)));
            return;
        }
        try {
            if (Database::conn()
                    .execute(u"select count(*) from printpool"_s)
                    .field(0)
                    .toLongLong() == 0)
                QCoreApplication::quit();
        } catch (const DbError&) {
        }
    });
    check.start(20);
    return app.exec();
}
