// The inspection window while a list tab is open: the command row stays in view and moves up
// over the room the roll form and the defect frame give up, so that the list below shows
// several rows on a 1024 x 768 panel.
#include "stations/inspection/frmCheck.h"

#include "widgets/EditGrid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>

namespace {

// Twips the form and the defect frame give up (the form keeps its grade row whole), and the
// command row's rise.
constexpr int FormGivesUp = 530;
constexpr int CommandsRise = 560;

const char* const HiddenForList = "hiddenForList";

void moveUp(QWidget* w, int twips)
{
    placeTwips(w, designRect(w).translated(0, -twips));
}

void shorten(QWidget* w, int twips)
{
    QRect r = designRect(w);
    r.setHeight(r.height() - twips);
    placeTwips(w, r);
}

} // namespace

int frmCheck::listTabsRise()
{
    return CommandsRise + 60;
}

void frmCheck::setListOpen(bool open)
{
    if (open == m_listOpen)
        return;
    fitDefectFrameToList(false);
    m_listOpen = open;
    fitDefectFrameToList(true);
    for (QWidget* w : commandRow())
        moveUp(w, open ? CommandsRise : -CommandsRise);
    shorten(c.Frame6, open ? FormGivesUp : -FormGivesUp);
    // Fields the shorter form cannot hold (the remark row, or what a stored layout put low) are
    // out of sight while the list is open, and back with the form.
    const int formHeight = designRect(c.Frame6).height();
    for (QWidget* w : c.Frame6->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!open && w->property(HiddenForList).toBool()) {
            w->setProperty(HiddenForList, QVariant());
            w->show();
        } else if (open && w->isVisibleTo(c.Frame6) && designRect(w).isValid() &&
                   designRect(w).bottom() > formHeight - 40) {
            w->setProperty(HiddenForList, true);
            w->hide();
        }
    }
}

void frmCheck::fitDefectFrameToList(bool fit)
{
    // The narrow defect list keeps its top and gives up its last rows.
    if (!m_listOpen || defectFrameWide())
        return;
    shorten(c.Frame5, fit ? FormGivesUp : -FormGivesUp);
    shorten(m_pggCheck, fit ? FormGivesUp : -FormGivesUp);
}

QList<QWidget*> frmCheck::commandRow() const
{
    QList<QWidget*> row{c.UpDown1, c.isPrintreview, c.autoHuanJuan};
    for (int i : {CheckCmd::NewRoll, CheckCmd::Save, CheckCmd::DeleteDefect, CheckCmd::PrintLabel,
                  CheckCmd::PreviousRoll, CheckCmd::NextRoll, CheckCmd::ChooseTemplate, CheckCmd::DeleteRoll,
                  CheckCmd::PrintMark, CheckCmd::Mes})
        row << c.checkCommand[i];
    return row;
}
