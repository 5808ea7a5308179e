// The quality fixture's database, written through the program's own layer.
#include "QualityFixture.h"

#include "db/Connection.h"

#include <QDateEdit>

using namespace Qt::StringLiterals;

QualityFixture::QualityFixture()
{
    Connection c;
    c.openOrCreate(u"Provider=SQLite;Data Source="_s + databasePath());
    c.execute(u"insert item(itemid, itemcode, itemname) values(1, 'T01', '府绸');"
              "insert item(itemid, itemcode, itemname) values(2, 'T02', '春亚纺');"
              "insert UserInfo(usercode, username) values('002', '王建国');"
              "insert UserInfo(usercode, username) values('004', '李秀英')"_s);
    c.execute(
        u"insert checkinfo(id, billCode, itemid, checkCode, onCount, checkcount, grade, machineId, "
        "checkUsercode, item2, createDate) values"
        "(1, 'SC1', 1, '001', 100, 1, 'A品', '001', '002', '150', '2026-11-02 09:00:00'),"
        "(2, 'SC2', 2, '002', 50, 0.9144, 'B品', '002', '004', '100', '2026-11-02 15:00:00'),"
        "(3, 'SC1', 1, '003', 80, 1, 'A品', '001', '002', 'R2611', '2026-11-03'),"
        "(4, 'SC1', 1, '004', 60, 1, 'A品', '001', '002', '0', '2026-10-31 23:59:59'),"
        "(5, 'SC1', 1, '005', 70, 1, 'A品', '001', '002', '150', '2026-11-10');"
        "insert checkDetail(checkId, bugName, bugCount, bugScore) values"
        "(1, '破洞', 1, 4), (1, '破洞', 2, 8), (1, '油污', 1, 2), (2, '油污', 0, -1), (4, '破洞', "
        "1, 4),"
        "(5, '破洞', 1, 4)"_s);
    c.close();
    useDatabase(databasePath());
    m_home.writeFile(u"mirel.ini"_s, "[MIREL]\ngrade=A品^0,B品^20,C品^40\n");
}

QualitySql::Filter QualityFixture::range()
{
    QualitySql::Filter f;
    f.from = QDate(2026, 11, 2);
    f.to = QDate(2026, 11, 4);
    return f;
}

frmQuality& QualityFixture::open()
{
    load(std::make_unique<frmQuality>());
    m_form->dtpFrom->setDate(range().from);
    m_form->dtpTo->setDate(range().to);
    m_form->query();
    return *m_form;
}
