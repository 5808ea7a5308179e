// The fiber box window on the inspection window's fixture, with boxes of an article on a pallet.
#pragma once

#include "../marklabel/MaitouFixture.h"
#include "stations/fiberbox/frmHuaxian.h"

inline frmHuaxian& openHuaxian(CheckFixture& fx)
{
    PanelStyle::install();
    return static_cast<frmHuaxian&>(fx.open(std::make_unique<frmHuaxian>()));
}

/// Types the net weight and taps "保存".
inline void saveBox(frmCheck& f, const QString& netWeight)
{
    f.controls().TxtBox[7]->setText(netWeight);
    QTest::mouseClick(f.controls().checkCommand[2], Qt::LeftButton);
}

/// Boxes already on the pallet, written the way another shift's station wrote them.
inline void stackBoxes(CheckFixture& fx, const QString& pallet, int count)
{
    for (int i = 1; i <= count; ++i)
        fx.exec(QStringLiteral("insert into checkinfo(checkcode,oncount,cutcount,itemid,billdetailid,bagnumber,machineId)"
                               " values('%1',20.5,21.3,1,0,'%2','001')").arg(i, 3, 10, QChar(u'0')).arg(pallet));
}
