// The inspection station's factory for the shell.
#include "stations/inspection/InspectionStation.h"

#include "shell/Station.h"
#include "stations/inspection/CheckDefectPart.h"
#include "stations/inspection/CheckDraftPart.h"
#include "stations/inspection/CheckLabelPart.h"
#include "stations/inspection/CheckMesPart.h"
#include "stations/inspection/CheckRollListPart.h"
#include "stations/inspection/frmCheck.h"
#include "widgets/PanelStyle.h"
#include "widgets/ScreenMode.h"

#include <QRegularExpression>
#include <QTimer>

void showStationWindow(QWidget* window)
{
    const QString size = qEnvironmentVariable("MIREL_WINDOW_SIZE");
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(size);
    if (m.hasMatch()) {
        window->resize(m.captured(1).toInt(), m.captured(2).toInt());
        window->show();
        return;
    }
    ScreenMode::setFullScreen(window, true);
}

QWidget* createInspectionStation(const StationChoice& choice)
{
    PanelStyle::install();
    auto* form = new frmCheck;
    form->Form_Load();
    new CheckDefectPart(form);
    new CheckLabelPart(form);
    new CheckMesPart(form);
    new CheckRollListPart(form);
    auto* unsaved = new CheckDraftPart(form);
    if (choice.station == Station::MesCheck)
        form->enterMesMode();
    showStationWindow(form);
    // After the window is up: the card lookup of the roll left unsaved may have to ask.
    QTimer::singleShot(0, unsaved, &CheckDraftPart::restore);
    return form;
}
