// Progress window fixture on a temporary embedded database.
#include "ProgressFixture.h"
#include "ProgressRows.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

ProgressFixture::ProgressFixture(const QByteArray& mirelIni, const QByteArray& mesIni)
{
    useDatabase();
    // The first value of a key counts: the test's own lines come before the defaults.
    m_home.writeFile("mirel.ini", "[MIREL]\n" + mirelIni + "Projects=织造,配布,染色,全部配布_1,\nmenchineId=001\nCommBarcode=\n[MES]\n" + mesIni);
    m_home.writeFile("班别.ini", "[MIREL]\n王建国=早班\n");
    seed({});
    for (const char* sql : ProgressRows)
        exec(QString::fromUtf8(sql));
}

void ProgressFixture::enter(const QString& card, int step, const QString& worker)
{
    m_form->TxtBox[WorkloadField::Card]->setText(card);
    QTest::mouseClick(m_form->SearchBtn, Qt::LeftButton);
    QTest::mouseClick(m_form->ProcessBtn[step], Qt::LeftButton);
    m_form->TxtBox[WorkloadField::Worker]->setText(worker);
}

void ProgressFixture::installReader()
{
    QFile::remove(m_home.file("libmi.so"));
    QVERIFY(QFile::copy(qEnvironmentVariable("MIREL_BIN_DIR") + "/devsim-rfid/libmi.so", m_home.file("libmi.so")));
}
