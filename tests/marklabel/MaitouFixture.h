// The mark-label and fiber-box windows on the inspection window's fixture, and what the operator
// does at them: choose an article, type a quantity and save.
#pragma once

#include "../inspection/CheckFixture.h"
#include "dialogs/frmSelectItem.h"
#include "stations/fiberbox/frmHuaxian.h"
#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckRollListPanel.h"
#include "stations/marklabel/MaitouDraftPanel.h"
#include "shell/MessageBox.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

/// Taps the article button (or presses F3: its click follows a moment later, as a finger's),
/// searches for word in the dialog, taps the first row and confirms.
inline void chooseItem(frmMaitou& f, const QString& word, bool byKey = false)
{
    bool done = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* d = qobject_cast<frmSelectItem*>(QApplication::activeModalWidget());
        if (!d)
            return;
        watch.stop();
        d->SearchText()->setText(word);
        QTest::mouseClick(d->Search(), Qt::LeftButton);
        QTableWidget* t = d->girdItem()->table();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(t->model()->index(0, 3)).center());
        QTest::mouseClick(d->Command1(), Qt::LeftButton);
        done = true;
    });
    watch.start(10);
    if (byKey)
        QTest::keyClick(&f, Qt::Key_F3);
    else
        QTest::mouseClick(f.cmdSelectItem(), Qt::LeftButton);
    QTRY_VERIFY(done);
}

/// Gives the window the station's parts (defects, labels, lists, unsaved work), shows it at size.
inline bool showWithParts(frmCheck& f, const QSize& size = QSize(1024, 768))
{
    new CheckDefectPanel(&f);
    new CheckLabelPanel(&f);
    new CheckRollListPanel(&f);
    if (auto* m = qobject_cast<frmMaitou*>(&f))
        new MaitouDraftPanel(m);
    f.resize(size);
    f.show();
    return QTest::qWaitForWindowExposed(&f);
}

/// Types the quantity (net weight) and taps "保存" (or another command that saves).
inline void save(frmCheck& f, const QString& quantity, int command = CheckCmd::Save)
{
    f.controls().TxtBox[CheckField::Quantity]->setText(quantity);
    QTest::mouseClick(f.controls().checkCommand[command], Qt::LeftButton);
}

/// Today's first pallet number.
inline QString firstPallet()
{
    return Clock::today().toString(u"yyMMdd"_s) + u"001"_s;
}

/// Boxes already on the pallet, written the way another shift's station wrote them.
inline void stackBoxes(CheckFixture& fx, const QString& pallet, int count)
{
    for (int i = 1; i <= count; ++i)
        fx.exec(
            u"insert into checkinfo(checkcode,oncount,cutcount,itemid,billdetailid,"
            "bagnumber,machineId,item2,createDate) values('%1',20.5,21.3,1,0,'%2','001','20','%3')"_s
                .arg(i, 3, 10, QChar(u'0'))
                .arg(pallet, Clock::nowText()));
}

/// How many times the station has shown text since the last MessageBox::clearShown().
inline int asked(const QString& text)
{
    const QList<MessageBox::Shown> all = MessageBox::shown();
    return int(std::count_if(all.cbegin(), all.cend(), [&](const MessageBox::Shown& s) { return s.text == text; }));
}
