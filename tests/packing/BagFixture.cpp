// Packing window fixture on a temporary embedded database.
#include "BagFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QtTest>

namespace {

// The shipped template, printing to a PDF file of the test's folder.
QByteArray templatePrintingTo(const QString& shipped, const QString& pdf)
{
    QFile f(qEnvironmentVariable("MIREL_SOURCE_DIR") + QStringLiteral("/templates/") + shipped);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll().replace("name = 默认打印机\ntype = text\ndefault =",
                               "name = 默认打印机\ntype = text\ndefault = " + pdf.toUtf8());
}

} // namespace

BagFixture::BagFixture(const QByteArray& packIni, const QByteArray& mirelIni)
{
    useDatabase();
    // Without a scale of the test's own, the table's scale port is one that is not there.
    const bool ownScale = mirelIni.contains("CHENCOM");
    m_home.writeFile(QStringLiteral("mirel.ini"),
                     "[MIREL]\n" + (ownScale ? QByteArray() : "CHENCOM=COM9\n") + mirelIni +
                         (ownScale ? QByteArray() : "\n[SerialPorts]\nCOM9=/dev/no-such-scale\n") +
                         "\n[打包]\n" + packIni);
    m_home.writeFile(QStringLiteral("打印/唛头/唛头.grf"),
                     templatePrintingTo(QStringLiteral("唛头/唛头.grf"), markPdf()));
    m_home.writeFile(QStringLiteral("打印/箱唛/箱唛.grf"),
                     templatePrintingTo(QStringLiteral("箱唛/箱唛.grf"), boxPdf()));
    seed({
        "insert into item(itemid,itemcode,itemname,itemspec,item1,item2,item3) values(1,'T1','涤棉府绸','45x45','65/35','120','150')",
        "insert into bill(billid,billcode,billtype,invoice) values(1,'K001',55,'是')",
        "insert into bill(billid,billcode,billtype,invoice) values(2,'K002',55,'否')",
        "insert into bill(billid,billcode,billtype) values(3,'K003',55)",
        "insert into BillDetail(BillDetailId,BillId,itemId,productionColor) values(11,1,1,'藏青')",
        "insert into BillDetail(BillDetailId,BillId,itemId,productionColor) values(21,2,1,'米白')",
        "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade,taskno,item1,item3,checkUsercode)"
        " values(42,'K001',11,1,'001',10,'A','J1','118','M3','001')",
        "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade,taskno,item3,checkUsercode)"
        " values(43,'K001',11,1,'002',20.5,'A','J1','M3','001')",
        "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade,taskno,item3,checkUsercode)"
        " values(44,'K001',11,1,'003',30,'A','J1','M4','002')",
        "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade) values(50,'K002',21,1,'001',100,'B')",
        "insert into billprodetail(checkinfoid,billprocount,billdetailid) values(42,1,11)",
        "insert into billprodetail(checkinfoid,billprocount,billdetailid) values(43,1,11)",
        "insert into billprodetail(checkinfoid,billprocount,billdetailid) values(50,1,21)",
    });
}

frmBag& BagFixture::open() { return load(std::make_unique<frmBag>()); }

void BagFixture::scan(const QString& text)
{
    m_form->barcode->setText(text);
    QTest::keyClick(m_form->barcode, Qt::Key_Return);
}
