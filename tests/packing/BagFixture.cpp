// Packing window fixture on a temporary embedded database.
#include "BagFixture.h"
#include "PackingRows.h"

#include <QFile>
#include <QLineEdit>
#include <QtTest>

using namespace Qt::StringLiterals;

BagFixture::BagFixture(const QByteArray& packIni, const QByteArray& mirelIni)
{
    useDatabase();
    // Without a scale of the test's own, the table's scale port is one that is not there.
    const QByteArray noScale = mirelIni.contains("CHENCOM") ? QByteArray() : "CHENCOM=COM9\n";
    m_home.writeFile(u"mirel.ini"_s, "[MIREL]\n" + noScale + mirelIni +
                                         (noScale.isEmpty() ? "" : "\n[SerialPorts]\nCOM9=/dev/no-such-scale\n") +
                                         "\n[打包]\n" + packIni);
    // The shipped templates, printing to PDF files of the test's folder.
    for (const auto& [kind, pdf] : {std::pair{u"唛头"_s, markPdf()}, std::pair{u"箱唛"_s, boxPdf()}}) {
        QFile f(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/%1/%1.grf"_s.arg(kind));
        const QByteArray text = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        m_home.writeFile(u"打印/%1/%1.grf"_s.arg(kind),
                         QByteArray(text).replace("name = 默认打印机\ntype = text\ndefault =",
                                                  "name = 默认打印机\ntype = text\ndefault = " + pdf.toUtf8()));
    }
    seed({});
    for (const char* sql : PackingRows)
        exec(QString::fromUtf8(sql));
}

void BagFixture::scan(const QString& text)
{
    m_form->barcode->setText(text);
    QTest::keyClick(m_form->barcode, Qt::Key_Return);
}
