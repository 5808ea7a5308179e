// Stock board fixture on a database file of its own.
#include "KanbanFixture.h"

#include "db/Connection.h"

#include <QTimer>

using namespace Qt::StringLiterals;

KanbanFixture::KanbanFixture(int batches, const QByteArray& ini)
{
    makeDatabase(databasePath(), batches);
    useDatabase(databasePath());
    m_home.writeFile(u"kanban.ini"_s, "[看板配置]\n" + ini);
}

void KanbanFixture::makeDatabase(const QString& path, int batches)
{
    QString sql = u"insert into item(itemid,itemcode,itemname,isstop) values(1,'T2101','涤棉府绸',0);"
                  "insert into item(itemid,itemcode,itemname,isstop) values(2,'T2099','春亚纺',1);"_s;
    for (int i = 1; i <= batches; ++i)
        sql +=
            u"insert into iteminBatch(itemid,itemcount,productionNumber,ProductSN,productionColor)"
            " values(1,%1,%2,'P%2','藏青');"_s.arg(100 * i)
                .arg(i);
    // A stopped item's batch and a batch with nothing left in stock never show.
    sql += u"insert into iteminBatch(itemid,itemcount,ProductSN) values(2,50,'STOP');"
           "insert into iteminBatch(itemid,itemcount,ProductSN) values(1,0,'EMPTY')"_s;
    Connection c;
    c.openOrCreate(u"Provider=SQLite;Data Source="_s + path);
    c.execute(sql);
    c.close();
}

frmKanban& KanbanFixture::open()
{
    load(std::make_unique<frmKanban>());
    m_form->Timer1->stop();
    return *m_form;
}
