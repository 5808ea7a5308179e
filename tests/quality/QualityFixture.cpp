// The quality fixture's database, written through the program's own layer.
#include "QualityFixture.h"

#include "db/Connection.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "widgets/PanelStyle.h"

#include <QDateEdit>

namespace {

void roll(Connection& c, int id, const char* day, const char* machine, const char* inspector,
          const char* grade, double onCount, double checkcount, const char* width, int item)
{
    c.execute(QStringLiteral(
                  "insert checkinfo(id, billCode, itemid, checkCode, onCount, checkcount, grade, "
                  "machineId, checkUsercode, item2, createDate) values(%1, '%2', %3, '%4', %5, %6, "
                  "'%7', '%8', '%9', '%10', '%11')")
                  .arg(id)
                  .arg(item == 1 ? u"SC1" : u"SC2")
                  .arg(item)
                  .arg(id, 3, 10, QLatin1Char('0'))
                  .arg(onCount)
                  .arg(checkcount)
                  .arg(QString::fromUtf8(grade), QString::fromUtf8(machine),
                       QString::fromUtf8(inspector), QString::fromUtf8(width),
                       QString::fromUtf8(day)));
}

void defect(Connection& c, int roll, const char* name, int count, int points)
{
    c.execute(
        QStringLiteral(
            "insert checkDetail(checkId, bugName, bugCount, bugScore) values(%1, '%2', %3, %4)")
            .arg(roll)
            .arg(QString::fromUtf8(name))
            .arg(count)
            .arg(points));
}

} // namespace

QualityFixture::QualityFixture()
{
    Connection c;
    c.openOrCreate(QStringLiteral("Provider=SQLite;Data Source=") + databasePath());
    c.execute(QStringLiteral("insert item(itemid, itemcode, itemname) values(1, 'T01', '府绸');"
                             "insert item(itemid, itemcode, itemname) values(2, 'T02', '春亚纺');"
                             "insert UserInfo(usercode, username) values('002', '王建国');"
                             "insert UserInfo(usercode, username) values('004', '李秀英')"));
    roll(c, 1, "2026-11-02 09:00:00", "001", "002", "A品", 100, 1, "150", 1);
    roll(c, 2, "2026-11-02 15:00:00", "002", "004", "B品", 50, 0.9144, "100", 2);
    roll(c, 3, "2026-11-03", "001", "002", "A品", 80, 1, "R2611", 1);
    roll(c, 4, "2026-10-31 23:59:59", "001", "002", "A品", 60, 1, "0", 1);
    roll(c, 5, "2026-11-10", "001", "002", "A品", 70, 1, "150", 1);
    defect(c, 1, "破洞", 1, 4);
    defect(c, 1, "破洞", 2, 8);
    defect(c, 1, "油污", 1, 2);
    defect(c, 2, "油污", 0, -1);
    defect(c, 4, "破洞", 1, 4);
    defect(c, 5, "破洞", 1, 4);
    c.close();
    m_home.writeFile(QStringLiteral("config.ini"),
                     "[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" +
                         databasePath().toUtf8() + "\n");
    m_home.writeFile(QStringLiteral("mirel.ini"), "[MIREL]\ngrade=A品^0,B品^20,C品^40\n");
    MessageBox::clearShown();
    MessageBox::clearAnswers();
}

QualityFixture::~QualityFixture()
{
    m_form.reset();
    Database::conn().close();
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
    PanelStyle::install();
    m_form = std::make_unique<frmQuality>();
    m_form->resize(1024, 768);
    m_form->Form_Load();
    m_form->dtpFrom->setDate(range().from);
    m_form->dtpTo->setDate(range().to);
    m_form->query();
    return *m_form;
}
