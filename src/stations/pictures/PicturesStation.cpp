// The picture browsers' factories for the shell.
#include "stations/pictures/PicturesStation.h"

#include "shell/Station.h"
#include "stations/pictures/frmQuick3D.h"
#include "widgets/PanelStyle.h"
#include "stations/pictures/ThumbsFields.h"

#include <QLineEdit>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The browsers come up as a window where they were left (or at the panel's size the first
// time); MIREL_WINDOW_SIZE ("1024x768") gives the trial size of screenshots and commissioning.
void showBrowser(frmThumbs* form)
{
    const QRegularExpressionMatch m =
        QRegularExpression(u"^(\\d+)x(\\d+)$"_s).match(qEnvironmentVariable("MIREL_WINDOW_SIZE"));
    if (m.hasMatch())
        form->resize(m.captured(1).toInt(), m.captured(2).toInt());
    form->show();
}

} // namespace

QWidget* createItemStation(const StationChoice&)
{
    PanelStyle::install();
    auto* form = new frmThumbs;
    form->Form_Load();
    showBrowser(form);
    return form;
}

QWidget* createQuick3DStation(const StationChoice& choice)
{
    PanelStyle::install();
    auto* form = new frmQuick3D;
    form->Form_Load();
    showBrowser(form);
    if (choice.number > 0) {
        form->txtUser[ThumbsField::Name]->setProperty("tag", choice.tag);
        form->showMe(choice.showMeArg);
    }
    return form;
}
