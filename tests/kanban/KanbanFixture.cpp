// Stock board fixture on a database file of its own.
#include "KanbanFixture.h"

#include "db/Connection.h"
#include "shell/Database.h"

#include <QTimer>

KanbanFixture::KanbanFixture(int batches, const QByteArray& ini)
{
    makeDatabase(databasePath(), batches);
    useDatabase(databasePath());
    m_home.writeFile(QStringLiteral("kanban.ini"), "[看板配置]\n" + ini);
}

void KanbanFixture::makeDatabase(const QString& path, int batches)
{
    Connection c;
    c.openOrCreate(QStringLiteral("Provider=SQLite;Data Source=") + path);
    c.execute(QStringLiteral(
        "insert into item(itemid,itemcode,itemname,isstop) values(1,'T2101','涤棉府绸',0);"
        "insert into item(itemid,itemcode,itemname,isstop) values(2,'T2099','春亚纺',1)"));
    for (int i = 1; i <= batches; ++i)
        c.execute(
            QStringLiteral("insert into iteminBatch(itemid,itemcount,productionNumber,ProductSN,"
                           "productionColor) values(1,%1,%2,'P%3','藏青')")
                .arg(100 * i)
                .arg(i)
                .arg(i));
    // A stopped item's batch and a batch with nothing left in stock never show.
    c.execute(
        QStringLiteral("insert into iteminBatch(itemid,itemcount,ProductSN) values(2,50,'STOP');"
                       "insert into iteminBatch(itemid,itemcount,ProductSN) values(1,0,'EMPTY')"));
    c.close();
}

void KanbanFixture::setBatch(const QString& path, const QString& sn, const QString& assignments)
{
    Connection c;
    c.open(QStringLiteral("Provider=SQLite;Data Source=") + path);
    c.execute(
        QStringLiteral("update iteminBatch set %1 where ProductSN='%2'").arg(assignments, sn));
    c.close();
}

void KanbanFixture::addBatch(const QString& sn)
{
    Database::conn().execute(
        QStringLiteral("insert into iteminBatch(itemid,itemcount,ProductSN) values(1,7,'%1')")
            .arg(sn));
}

frmKanban& KanbanFixture::open()
{
    load(std::make_unique<frmKanban>());
    m_form->Timer1->stop(); // tests tick by hand unless they start it
    return *m_form;
}
