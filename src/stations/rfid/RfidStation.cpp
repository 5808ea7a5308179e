// The RFID card registration's factory for the shell.
#include "stations/rfid/RfidStation.h"

#include "stations/rfid/frmRFID.h"
#include "widgets/PanelStyle.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QWidget* createRfidStation(const StationChoice&)
{
    PanelStyle::install();
    auto* form = new frmRFID;
    form->Form_Load();
    // The registration desk opens as a normal window; the menu makes it full screen.
    const QRegularExpressionMatch m = QRegularExpression(u"^(\\d+)x(\\d+)$"_s)
                                          .match(qEnvironmentVariable("MIREL_WINDOW_SIZE"));
    if (m.hasMatch())
        form->resize(m.captured(1).toInt(), m.captured(2).toInt());
    form->show();
    return form;
}
