// A program folder with an embedded database holding a bill, its packing list and inspected
// rolls, the shipped mark and box templates printing to PDF files, and a packing window.
#pragma once

#include "stations/packing/frmBag.h"
#include "support/station/StationFixture.h"

#include <memory>

using namespace Qt::StringLiterals;

class BagFixture : public StationFixture<frmBag> {
public:
    /// packIni: lines of the [打包] section; mirelIni: lines of [MIREL].
    explicit BagFixture(const QByteArray& packIni = "是否要打包=1\nisSaveCheck=1\n唛头打印=1\n",
                        const QByteArray& mirelIni = QByteArray());

    /// The PDF files the mark and box templates print to.
    QString markPdf() const { return m_home.file(u"mark.pdf"_s); }
    QString boxPdf() const { return m_home.file(u"box.pdf"_s); }
    /// Scans a barcode into the mark area and presses Enter.
    void scan(const QString& text);
};
