// Inspection window fixture on a temporary embedded database.
#include "CheckFixture.h"

#include "shell/SysUtil.h"
#include "time/Clock.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

CheckFixture::CheckFixture(const QByteArray& mirelIni)
{
    // The station's day is fixed: a run across midnight sees one day.
    Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30)));
    useDatabase();
    // A mill sets its roll number pattern; three digits is the common one.
    m_home.writeFile(u"mirel.ini"_s, "[MIREL]\ncodeLen=000\n" + mirelIni);
    seed({
        "insert into company(companyid,companyname) values(1,'杭州锦华服饰')",
        "insert into item(itemid,itemname,itemspec) values(1,'涤棉府绸','45x45 133x72')",
        "insert into UserInfo(usercode,username,ISSTOP) values('001','王建国',0)",
        "insert into UserInfo(usercode,username,ISSTOP) values('005','刘志强',1)",
        "insert into bill(billid,billcode,billtype,companyid,remark,contractEndDate) values(1,'K001',55,1,'加急，注意色差，成品要求幅宽150cm以上，卷装不得折痕','2026-12-20')",
        "insert into bill(billid,billcode,billtype,companyid,remark) values(2,'K060',60,1,'')",
        "insert into BillDetail(BillDetailId,BillId,itemId,viewcount,taxPercent,productionColor,productionsn,productionJarno,backItem1,backitem2,productionDateId,StoreRoomId)"
        " values(11,1,1,1000,900,'藏青','01','J1','款A',100,'P-88',1)",
        "insert into BillDetail(BillDetailId,BillId,itemId,viewcount,taxPercent,productionColor,productionsn,productionJarno,backItem1,backitem2,productionDateId)"
        " values(12,1,1,500,null,'米白','02','J2','款B',null,null)",
        "insert into BillDetail(BillDetailId,BillId,itemId,viewcount,taxPercent,productionColor,productionsn,productionJarno,backItem1)"
        " values(13,1,1,300,280,'大红','03','J3','款C')",
        "insert into BillDetail(BillDetailId,BillId,itemId,viewcount,taxPercent,productionColor) values(21,2,1,10,10,'黑')",
    });
}

void CheckFixture::lookUp(const QString& card)
{
    m_form->controls().TxtBox[CheckField::Card]->setText(card);
    m_form->runCommand(CheckCmd::FindCard);
}

void CheckFixture::setIni(const QString& key, const QString& value)
{
    SysUtil::writeIni(u"MIREL"_s, key, value, u"/mirel.ini"_s);
    if (m_form)
        m_form->reloadSettings(); // as the settings panel's 保存 does
}
