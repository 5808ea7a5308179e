// The mark-label window on the inspection window's fixture, and the operator's article choice.
#pragma once

#include "../inspection/CheckFixture.h"
#include "dialogs/frmSelectItem.h"
#include "stations/inspection/CheckDefectPart.h"
#include "stations/inspection/CheckLabelPart.h"
#include "stations/inspection/CheckRollListPart.h"
#include "stations/marklabel/frmMaitou.h"
#include "widgets/EditGrid.h"
#include "widgets/PanelStyle.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

inline frmMaitou& openMaitou(CheckFixture& fx)
{
    PanelStyle::install();
    return static_cast<frmMaitou&>(fx.open(std::make_unique<frmMaitou>()));
}

/// Taps the article button, searches for word in the dialog, taps the first row and confirms.
inline void chooseItem(frmMaitou& f, const QString& word)
{
    QTimer::singleShot(0, [word] {
        auto* d = qobject_cast<frmSelectItem*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->SearchText()->setText(word);
        QTest::mouseClick(d->Search(), Qt::LeftButton);
        QTableWidget* t = d->girdItem()->table();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                          t->visualRect(t->model()->index(0, 3)).center());
        QTest::mouseClick(d->Command1(), Qt::LeftButton);
    });
    QTest::mouseClick(f.cmdSelectItem(), Qt::LeftButton);
}

/// Gives the window the station's parts (defects, labels, roll list) and shows it at size.
inline bool showWithParts(frmCheck& f, const QSize& size)
{
    new CheckDefectPart(&f);
    new CheckLabelPart(&f);
    new CheckRollListPart(&f);
    f.resize(size);
    f.show();
    return QTest::qWaitForWindowExposed(&f);
}
