// Every station window with its data, on the panel sizes the mill uses, against the same rules:
// controls inside their frames and clear of their neighbours, labels and grid captions whole, the
// command row in view, buttons finger sized with their caption whole and an accessible name, ticks
// seen from a step away. What a station adds (its list's rows in view, the board's widths kept
// over three starts, the charts growing with the panel) is a hook of its views.
#include "../inspection/CheckFixture.h"
#include "../kanban/KanbanFixture.h"
#include "../marklabel/MaitouFixture.h"
#include "../packing/BagFixture.h"
#include "../pictures/PicturesFixture.h"
#include "../progress/ProgressFixture.h"
#include "../quality/QualityFixture.h"

#include "dialogs/frmArticle.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "stations/kanban/KanbanSettings.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/frmQuick3D.h"
#include "stations/progress/WorkloadListPart.h"
#include "stations/quality/QualityChartViews.h"
#include "stations/rfid/frmRFID.h"
#include "widgets/ComboEx.h"
#include "widgets/StatusLine.h"
#include "widgets/UserControl3.h"
#include "stations/inspection/CheckSavePanel.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// One view of a station: how to get there, then what the station adds to the rules.
struct View {
    QString name;
    std::function<void()> show = [] {};
    std::function<void(const QString&)> extra = {};
    QWidget* target = nullptr; // the window checked, when not the station's
    bool commands = true;      // the command row is in view (when the station has one)
};

// A station opened at one panel size with its data.
struct Station {
    std::shared_ptr<void> fixture;  // the program folder and database the window runs on
    std::unique_ptr<QWidget> owner; // what a dialog opens over
    QSize panel;
    QWidget* window = nullptr;
    QList<View> views;
    bool commandRow = false;
    int minButton = 36;
    QList<const QWidget*> loose; // may run past its frame (the board's scrolling line)
};

bool show(QWidget& w, QSize size)
{
    w.resize(size);
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

// Data rows of the grid shown whole, without scrolling.
int rowsInView(const EditGrid& grid)
{
    const QTableWidget* t = grid.table();
    int n = 0;
    for (int r = 0; r < t->rowCount(); ++r) {
        const int top = t->rowViewportPosition(r);
        n += top >= 0 && top + t->rowHeight(r) <= t->viewport()->height() ? 1 : 0;
    }
    return n;
}

bool shown(const QWidget* w, const Station& s)
{
    return w->isVisible() && !w->isWindow() && !s.loose.contains(w) &&
           !w->parentWidget()->inherits("QAbstractScrollArea") && !w->inherits("KeypadFrame") &&
           !w->parentWidget()->inherits("KeypadFrame");
}

// The rules every station keeps, on the window or dialog w.
void checkRules(QWidget& w, const Station& s, const QString& where, bool commands)
{
    QVERIFY2(w.width() <= s.panel.width() && w.height() <= s.panel.height(),
             qPrintable("larger than the panel at " + where));
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (!shown(c, s))
            continue;
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()),
                 qPrintable(c->objectName() + " leaves its frame at " + where));
    }
    for (const QLabel* label : w.findChildren<QLabel*>()) {
        if (!shown(label, s) || label->text().isEmpty())
            continue;
        // A status line shows what fits of a long message (the rest on touch).
        const auto* line = qobject_cast<const StatusLine*>(label);
        const QString text = line ? line->shownText() : label->text();
        const bool whole =
            label->wordWrap() && text == label->text() ? label->heightForWidth(label->width()) <= label->height()
                              : label->fontMetrics().horizontalAdvance(text) <=
                                        label->contentsRect().width() - 2 * label->margin() &&
                                    label->fontMetrics().height() <= label->contentsRect().height();
        QVERIFY2(whole, qPrintable(label->objectName() + " " + label->text() + " cut at " + where));
    }
    for (const QHeaderView* header : w.findChildren<QHeaderView*>()) {
        if (!header->isVisible() || header->orientation() != Qt::Horizontal)
            continue;
        for (int col = 0; col < header->count(); ++col) {
            const QString caption = header->model()->headerData(col, Qt::Horizontal).toString();
            QVERIFY2(header->isSectionHidden(col) ||
                         header->sectionSize(col) >=
                             header->fontMetrics().horizontalAdvance(caption),
                     qPrintable(caption + " cut at " + where));
        }
    }
    // Buttons are finger sized and named, ticks and chosen grades are seen from a step away
    // (marks grow with the type and stay inside their box), and every caption is whole.
    for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
        if (!shown(b, s))
            continue;
        const bool radio = qobject_cast<QRadioButton*>(b);
        const bool tick = radio || qobject_cast<QCheckBox*>(b);
        QStyleOptionButton option;
        option.initFrom(b);
        const auto part = [&](QStyle::SubElement e) {
            return b->style()->subElementRect(e, &option, b);
        };
        const QRect mark =
            part(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator);
        QVERIFY2(!tick || (mark.height() >= b->fontMetrics().height() * 3 / 4 &&
                           b->rect().contains(mark)),
                 qPrintable(b->objectName() + " mark at " + where));
        if (b->text().isEmpty())
            continue;
        const QRect room =
            !tick ? b->rect()
                  : part(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents);
        QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < room.width(),
                 qPrintable(b->objectName() + " caption cut at " + where));
        // A tick box is named by its caption; a button's name is set where its caption is.
        QVERIFY2(tick || (b->height() >= s.minButton && !b->accessibleName().isEmpty()),
                 qPrintable(b->objectName() + " too small or unnamed at " + where));
    }
    if (!commands)
        return;
    // Every command of the form's row is in view, inside the window and covered by nothing.
    const QList<QWidget*> onForm = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    int inView = 0;
    for (const QWidget* b : onForm) {
        if (!b->isVisible() || !b->objectName().startsWith("checkCommand_"))
            continue;
        ++inView;
        QVERIFY2(w.rect().contains(b->geometry()),
                 qPrintable(b->objectName() + " off the window at " + where));
        for (const QWidget* other : onForm)
            QVERIFY2(
                other == b || !other->isVisible() || !other->geometry().intersects(b->geometry()),
                qPrintable(other->objectName() + " covers " + b->objectName() + " at " + where));
    }
    QVERIFY2(inView >= 9, qPrintable(QString::number(inView) + " commands in view at " + where));
}

// No two visible controls among these overlap.
void checkApart(const QList<QWidget*>& ws, const QString& where)
{
    for (int i = 0; i < ws.size(); ++i)
        for (int j = i + 1; j < ws.size(); ++j)
            QVERIFY2(
                !ws[i]->isVisible() || !ws[j]->isVisible() ||
                    !ws[i]->geometry().intersects(ws[j]->geometry()),
                qPrintable(ws[i]->objectName() + " over " + ws[j]->objectName() + " at " + where));
}

// The roll form: the worker's name shown, commands finger sized (about 9 mm on a 15" panel),
// roll number and quantity read from a step away, no two fields overlapping.
void checkRollForm(CheckControls& c, const QString& where)
{
    QVERIFY(!c.LabBox[CheckLabel::WorkerName]->text().isEmpty());
    for (QPushButton* b : c.checkCommand)
        QVERIFY2(!b || !b->isVisible() || b->height() >= 45,
                 qPrintable(b->objectName() + " at " + where));
    QVERIFY(c.TxtBox[CheckField::RollNumber]->fontInfo().pixelSize() >= 24 &&
            c.TxtBox[CheckField::Quantity]->fontInfo().pixelSize() >= 24);
    QList<QWidget*> fields;
    for (QWidget* w : c.Frame6->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->property("designRect").isValid())
            fields << w;
    checkApart(fields, where);
}

void openCheck(Station& s, QSize size, bool)
{
    auto fx = std::make_shared<CheckFixture>(
        "bugs=破洞,油污,断经,纬斜,粗纱,色差,稀密路,毛粒\nUSASTANDARD=美标4分制\n");
    s.fixture = fx;
    frmCheck& f = fx->open();
    auto* defects = new CheckDefectPanel(&f);
    auto* labels = new CheckLabelPanel(&f);
    auto* list = new CheckRollListPanel(&f);
    QVERIFY(show(f, size));
    fx->lookUp(u"K001"_s);
    auto& c = f.controls();
    c.TxtBox[CheckField::Worker]->setText(u"001"_s); // the worker's name beside the code
    c.TxtBox[CheckField::Quantity]->setText(u"86.5"_s);
    c.TxtBox[CheckField::PieceLength]->setText(u"150"_s);
    for (int i : {0, 2, 1}) {
        defects->bugBtn_Click(i);
        emit defects->UserControl31()->Confirm(u" 3"_s, u" 1"_s);
    }
    QVERIFY(f.savePanel().saveRoll(true) > 0);
    for (int roll = 2; roll <= 7; ++roll) {
        c.TxtBox[CheckField::RollNumber]->setText(u"00%1"_s.arg(roll));
        c.checkId->setText(u"0"_s);
        QVERIFY(f.savePanel().saveRoll(false) > 0);
    }
    f.runCommand(CheckCmd::QueryList);
    QCOMPARE(list->grid()->rows(), 8); // header and the saved rolls
    c.machineCount->setText(u"1000"_s);
    c.TxtBox[CheckField::PieceLength]->setText(u"250"_s);
    labels->cmdTag(0)->click();
    QCOMPARE(labels->labelRows().size(), 4);
    s.window = &f;
    s.commandRow = true;
    s.minButton = 0; // the roll form's small buttons; the commands are checked below
    const QPoint form = c.Frame6->pos();
    for (int tab = 0; tab < c.SSTab1->count(); ++tab)
        s.views << View{u"tab%1"_s.arg(tab), [&c, tab] { c.SSTab1->setCurrentIndex(tab); },
                        [&f, &c, form, list, tab](const QString& where) {
                            // Any tab open: the form in place, the defect list's rows whole.
                            QCOMPARE(c.Frame6->pos(), form);
                            QTableWidget* bugs = f.defectGrid().grid()->table();
                            bugs->scrollToBottom();
                            QVERIFY2(bugs->rowViewportPosition(bugs->rowAt(0)) == 0 &&
                                         bugs->horizontalScrollBar()->maximum() == 0,
                                     qPrintable("defect list at " + where));
                            if (c.SSTab1->currentWidget() == list->grid()->parentWidget())
                                QVERIFY2(rowsInView(*list->grid()) >= 4, qPrintable(where));
                            if (tab == 0)
                                checkRollForm(c, where);
                        }};
    // The settings panel, opened with the access code: its type grows like the form's.
    s.views << View{u"settings"_s, [&f] { QVERIFY(f.settingsPanel()->checkAccessCode(u"5862"_s)); },
                    [&f](const QString& where) {
                        auto* panel = f.settingsPanel();
                        QVERIFY(panel->isVisible() && f.rect().contains(panel->geometry()));
                        for (const QWidget* w : panel->findChildren<QWidget*>())
                            QVERIFY2(
                                !w->isVisible() || w->property("designPt").toDouble() != 12.0 ||
                                    qAbs(w->fontInfo().pixelSize() - f.fontInfo().pixelSize()) <= 1,
                                qPrintable(w->objectName() + " at " + where));
                    },
                    nullptr, false};
}

void openPallet(Station& s, QSize size, bool fiberBox)
{
    auto fx = std::make_shared<CheckFixture>();
    s.fixture = fx;
    stackBoxes(*fx, u"241206003"_s, fiberBox ? 18 : 0);
    frmMaitou& f = fiberBox ? fx->open<frmHuaxian>() : fx->open<frmMaitou>();
    QVERIFY(showWithParts(f, size));
    chooseItem(f, u"府绸"_s);
    f.controls().TxtBox[CheckField::Style]->setText(u"20"_s);
    f.controls().TxtBox[CheckField::Weight]->setText(u"21.36"_s);
    if (!fiberBox)
        QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
    for (const QString& q :
         fiberBox ? QStringList{u"20.86"_s} : QStringList{u"25.5"_s, u"30"_s, u"28.8"_s})
        save(f, q);
    QVERIFY(fiberBox || f.ppgCheckGrid2()->rows() == 4);
    QCOMPARE(f.controls().SSTab1->currentWidget(), f.ppgCheckGrid2()->parentWidget());
    s.window = &f;
    s.commandRow = true;
    s.minButton = size.height() / 30;
    s.views << View{
        u"pallet"_s, [] {},
        [&f](const QString& where) {
            // The pallet's list has room for four packages and reads its pallet
            // numbers whole; the new buttons cover no field.
            const QTableWidget* list = f.ppgCheckGrid2()->table();
            QVERIFY2(list->viewport()->height() >= 4 * list->rowHeight(0), qPrintable(where));
            const int col = int(f.ppgCheckGrid2()->header().indexOf(u"板号"_s));
            QVERIFY(list->fontMetrics().horizontalAdvance(f.ppgCheckGrid2()->textMatrix(1, col)) <
                    list->columnWidth(col));
            for (QWidget* w : {static_cast<QWidget*>(f.cmdSelectItem()),
                               static_cast<QWidget*>(f.cmdBangbtn())}) {
                QList<QWidget*> row =
                    w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
                row.removeOne(w);
                for (QWidget* other : row)
                    checkApart({w, other}, where);
            }
        }};
    if (fiberBox) {
        QCOMPARE(static_cast<frmHuaxian&>(f).palletSummary()->text(), u"净重:389.86  箱数:19"_s);
        for (const auto& [field, caption] :
             {std::pair{CheckField::Quantity, "净重"}, {CheckField::Weight, "毛重"}, {CheckField::RollNumber, "箱号"},
              {CheckField::DyeLot, "批号"}, {CheckField::Spare5, "筒数"}})
            QCOMPARE(f.controls().TxtBox[field]->accessibleName(), QString::fromUtf8(caption));
    }
}

void openSelectItem(Station& s, QSize size, bool)
{
    auto fx = std::make_shared<CheckFixture>();
    s.fixture = fx;
    fx->exec(u"insert into item(itemname,itemcode,itemspec,itemclass,isstop) values"
             "('全棉府绸','T02','40x40 133x100',1,0),('涤棉府绸弹力','T03','45x45 110x76',1,0)"_s);
    s.owner = std::make_unique<QWidget>();
    s.owner->resize(size);
    s.owner->show();
    auto* d = new frmSelectItem(s.owner.get());
    d->prepare(nullptr, u"府绸"_s, 0, 0);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QCOMPARE(d->girdItem()->rows(), 4);
    s.window = d;
    // The article form behind 新增商品 / 修改商品, over the same station.
    auto* article = new frmArticle(s.owner.get());
    article->prepare(ItemArticle{});
    s.views << View{u"list"_s}
            << View{u"article"_s,
                    [article] {
                        article->show();
                        QVERIFY(QTest::qWaitForWindowExposed(article));
                    },
                    {},
                    article};
}

void openBag(Station& s, QSize size, bool packing)
{
    auto fx = std::make_shared<BagFixture>(packing ? "是否要打包=1\n" : "是否要打包=0\n");
    s.fixture = fx;
    frmBag& f = fx->open();
    QVERIFY(show(f, size));
    f.bagNumber[BagBoxField::Number]->setText(u"261206001"_s);
    for (const QString& roll : {u"42"_s, u"43"_s, u"44"_s}) {
        fx->scan(roll);
        f.butFlow[BagCmd::AddRoll]->click();
    }
    f.ximaGrid->setTextMatrix(1, 3, u"45x45 133x72"_s);
    QCOMPARE(f.ximadan->isVisible(), packing);
    QCOMPARE(f.LabMsg3->text(), u"台称暂停中"_s); // the scale box is not ticked
    s.window = &f;
    s.minButton = 48 * size.height() / 768; // pressed with gloves
    s.views << View{
        u"box"_s, [] {},
        [&f, packing, min = s.minButton](const QString& where) {
            QVERIFY(f.txtUser[BagField::ItemName]->width() >
                    f.txtUser[BagField::ItemName]->fontMetrics().horizontalAdvance(u"涤棉府绸"_s));
            QVERIFY(packing ? f.ximaGrid->height() > 5 * f.ximaGrid->table()->rowHeight(1)
                            : f.Frame4->height() > f.height() * 2 / 3);
            // The list's columns fill it (what is left would not hold one more), and a full
            // 规格 (fabric construction) is shown whole.
            const QTableWidget* t = f.ximaGrid->table();
            QVERIFY2(!packing || (t->viewport()->width() - t->horizontalHeader()->length() <
                                      t->columnWidth(5) &&
                                  t->fontMetrics().horizontalAdvance(f.ximaGrid->textMatrix(
                                      1, 3)) < t->columnWidth(3) - 6),
                     qPrintable(where));
            for (QCheckBox* b : f.findChildren<QCheckBox*>())
                QVERIFY2(!b->isVisible() || (b->style()->pixelMetric(QStyle::PM_IndicatorHeight,
                                                                     nullptr, b) >= 20 &&
                                             b->height() >= min),
                         qPrintable(b->objectName() + " at " + where));
        }};
}

void openLoad(Station& s, QSize size, bool)
{
    auto fx = std::make_shared<ProgressFixture>(
        "Projects=织造,配布,染色,定型,复检,包装,验布,打卷,全部配布,\n");
    s.fixture = fx;
    fx->exec("insert into "
             "BillStatusDetail(barcode,billstatus,viewcount,viewnumber,usercode,remark,endUser) "
             "values('K002','织造',1250.5,21,'001','第一缸','001')");
    frmWorkload& f = fx->open();
    QVERIFY(show(f, size));
    fx->enter("K002", 1, "001");
    s.window = &f;
    s.views << View{u"entry"_s, [&f] { f.SSTab1->setCurrentIndex(0); }}
            << View{u"list"_s,
                    [&f] {
                        f.SSTab1->setCurrentIndex(1);
                        QTest::mouseClick(f.list()->SearchWLBtn[WorkloadList::Query], Qt::LeftButton);
                    },
                    [&f](const QString&) { QCOMPARE(f.list()->pggBase->rows(), 2); }};
}

// The board's texts, captions and values, that do not fit their columns.
QStringList cutTexts(frmKanban& f)
{
    const QTableWidget* table = f.pGrid->table();
    QStringList cut;
    for (int row = 0; row < f.pGrid->rows(); ++row)
        for (int col = 0; col < f.pGrid->cols(); ++col) {
            const QFont font = row == 0 ? table->horizontalHeader()->font() : table->font();
            const QString text = f.pGrid->textMatrix(row, col);
            if (QFontMetrics(font).horizontalAdvance(text) >= table->columnWidth(col))
                cut << text;
        }
    return cut;
}

void openKanban(Station& s, QSize size, bool)
{
    auto fx = std::make_shared<KanbanFixture>(
        12, "库存看板=杭州锦华一号成品仓库存看板\n跑马灯内容=今日到货请及时入库\n");
    s.fixture = fx;
    // Values as wide as the warehouse's: a long colour, a quantity with decimals, a remark.
    fx->execNative(u"update iteminBatch set productionColor='香槟金',itemcount=1580.5,"
                   "descrtion='客户指定包装' where ProductSN='P2'"_s, u"stock.db"_s);
    // Started three times (the widths go to kanban.ini at close and come back): the same board in
    // the same type every time, every text whole, every column on the board and none behind a
    // scroll bar.
    auto first = std::make_shared<QStringList>();
    for (int start = 1; start <= 3; ++start)
        s.views << View{
            u"start%1"_s.arg(start),
            [&s, fx, size] {
                if (s.window)
                    fx->form().close();
                frmKanban& f = fx->open();
                QVERIFY(show(f, size));
                s.window = &f;
                s.loose = {f.lab_info[frmKanban::Marquee]}; // the scrolling line runs past the right edge
            },
            [fx, first](const QString& where) {
                frmKanban& f = fx->form();
                QStringList board{QString::number(f.pGrid->fontSize())};
                for (int col = 0; col < f.pGrid->cols(); ++col)
                    board << QString::number(f.pGrid->table()->columnWidth(col));
                *first = first->isEmpty() ? board : *first;
                QCOMPARE(board, *first);
                QCOMPARE(cutTexts(f), QStringList());
                QVERIFY2(!f.pGrid->table()->horizontalScrollBar()->isVisible(), qPrintable(where));
                QCOMPARE(f.pGrid->table()->horizontalHeader()->length(),
                         f.pGrid->table()->viewport()->width());
                QVERIFY(f.lab_info[frmKanban::Marquee]->geometry().bottom() <= f.rect().bottom());
                checkApart({f.lab_info[frmKanban::Title], f.lab_info[frmKanban::Clock], f.lab_info[frmKanban::Marquee], f.pGrid}, where);
            }};
    // The stale mark leaves the title whole; the settings frame opens inside the window.
    s.views << View{u"stale"_s,
                    [fx] {
                        SysUtil::writeIni(KanbanSettings::section(), KanbanSettings::sqlKey(),
                                          u"select x"_s, KanbanSettings::iniFile());
                        QVERIFY(!fx->form().loadData());
                    },
                    [fx](const QString&) {
                        QLabel* title = fx->form().lab_info[frmKanban::Title];
                        const QRect text = QStyle::alignedRect(
                            Qt::LeftToRight, Qt::AlignCenter,
                            QSize(title->fontMetrics().horizontalAdvance(title->text()),
                                  title->height()),
                            title->geometry());
                        QVERIFY(!text.intersects(fx->form().labOffline->geometry()));
                    }}
            << View{u"settings"_s, [fx] { fx->form().showSettings(); }};
}

void openPictures(Station& s, QSize size, bool outline)
{
    auto fx = std::make_shared<PicturesFixture>();
    s.fixture = fx;
    fx->home().writeFile(u"3d/a_long_outline_name_for_the_summer_shirt.bmp"_s,
                         PicturesFixture::picture(Qt::white, "bmp", QSize(300, 300)));
    // Photos put into the item's folder by hand, named as the sample room names them.
    for (const QString& name : {u"7-色样-墨绿.jpg"_s, u"7-色样-大红.jpg"_s, u"7-细节.png"_s})
        fx->home().writeFile(u"pic/7/"_s + name,
                             PicturesFixture::picture(Qt::darkGreen, "png", QSize(640, 480)));
    frmThumbs& f =
        outline ? static_cast<frmThumbs&>(fx->open<frmQuick3D>()) : fx->open<frmThumbs>();
    f.resize(size);
    QTest::qWait(0);
    f.showItem(7);
    QVERIFY(fx->waitForThumbnails());
    s.window = &f;
    s.views << View{u"item"_s, [] {},
                    [&f, outline](const QString& where) {
                        QVERIFY(f.picBig->width() > f.width() / 3);
                        QVERIFY(f.strip->boxSize().width() >= 80);
                        checkApart({f.picBig, f.strip, f.sbrMain}, where);
                        QCOMPARE(f.strip->count(), outline ? 1 : 3);
                        // The thumbnails share the strip's width, and a name is cut only where its
                        // cell is too narrow for it.
                        int right = 0;
                        for (int i = 0; i < f.strip->count(); ++i) {
                            const QToolButton* b = f.strip->optThumb(i);
                            const QString name = b->property("tag").toString();
                            QVERIFY2(b->text() == name ||
                                         b->fontMetrics().horizontalAdvance(name) > b->width() - 8,
                                     qPrintable(b->text()));
                            QVERIFY(!outline || b->text().endsWith(u"..."_s));
                            right = std::max(right, b->geometry().right());
                        }
                        QVERIFY(outline || right >= f.strip->viewport()->width() - 12);
                    }};
}

void openQuality(Station& s, QSize size, bool)
{
    auto fx = std::make_shared<QualityFixture>();
    s.fixture = fx;
    frmQuality& f = fx->open();
    QVERIFY(show(f, size));
    s.window = &f;
    const auto apart = [&f, size](const QString& where) {
        QList<QWidget*> blocks = f.charts()->views();
        blocks << f.tabTables;
        for (QWidget* w : f.figureBox)
            blocks << w;
        checkApart(blocks, where);
        // The charts grow with the panel: a bigger panel never gets smaller charts.
        QVERIFY(f.charts()->pareto()->width() >= size.width() * 45 / 100);
        QVERIFY(f.charts()->pareto()->height() >= size.height() * 30 / 100);
    };
    s.views << View{u"overview"_s, [] {}, apart}
            << View{u"touched"_s,
                    [&f] {
                        f.touchDefect(u"破洞"_s);
                        f.touchDay(QDate(2026, 11, 2), u"A品"_s);
                    },
                    apart};
}

// The card desk with a user, a card and a production card typed.
struct RfidDesk : StationFixture<frmRFID> {
    RfidDesk()
    {
        useDatabase();
        seed({"insert into UserInfo(UserID,usercode,username) values(7,'001','王建国')"});
        load(std::make_unique<frmRFID>());
    }
};

void openRfid(Station& s, QSize size, bool)
{
    auto desk = std::make_shared<RfidDesk>();
    s.fixture = desk;
    frmRFID& f = desk->form();
    QVERIFY(show(f, size));
    f.txtCardno->setText("A1B2C3D4");
    f.ComboUser->setCurrentIndex(1);
    f.txtCard2->setText("E5F60718");
    f.txtBillCode->setText("SC2611001");
    s.window = &f;
    for (int page = 0; page < 3; ++page)
        s.views << View{u"page%1"_s.arg(page), [&f, page] { f.SSTab1->setCurrentIndex(page); }};
}

// The stations, a window and its variant each, and the station's status line.
const struct {
    const char* name;
    void (*open)(Station&, QSize, bool);
    bool variant;
    const char* status;
} stations[] = {
    {"check", openCheck, false, "LabBox_0"},
    {"maitou", openPallet, false, "LabBox_0"},
    {"huaxian", openPallet, true, "LabBox_0"},
    {"select-item", openSelectItem, false, nullptr},
    {"bag", openBag, true, "LabMsg"},
    {"bag-marks", openBag, false, "LabMsg"},
    {"load", openLoad, false, "LabBox_1"},
    {"kanban", openKanban, false, nullptr},
    {"thumbs", openPictures, false, "sbrMain_1"},
    {"quick3d", openPictures, true, "sbrMain_1"},
    {"quality", openQuality, false, "lab_status"},
    {"rfid", openRfid, false, "lab_info_1"},
};

// A message as long as the mill's longest (the database away, a box number asked for), twice.
View longStatus(Station& s, const char* name)
{
    return {u"long status"_s, [&s, name] {
                auto* line = s.window->findChild<QLabel*>(QLatin1String(name));
                QVERIFY(line);
                // On its page when the window has pages.
                for (QWidget* w = line; w->parentWidget(); w = w->parentWidget())
                    if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
                        tabs->setCurrentWidget(w);
                line->setText(QString(u"数据库离线：箱号由数据库按天统一编号，离线时不能取新箱号，"
                                      "数据库连上后请再按「取」；已保存的箱连上后自动上传。"_s)
                                  .repeated(2));
            }};
}

} // namespace

class TestStationLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<QSize>("size");
        for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            for (int i = 0; i < int(std::size(stations)); ++i)
                QTest::addRow("%s %dx%d", stations[i].name, s.width(), s.height()) << i << s;
    }

    void fitsThePanel()
    {
        QFETCH(int, station);
        QFETCH(QSize, size);
        Station s;
        s.panel = size;
        stations[station].open(s, size, stations[station].variant);
        if (QTest::currentTestFailed())
            return;
        // First, so that every view after it has the long message too.
        if (stations[station].status)
            s.views.prepend(longStatus(s, stations[station].status));
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        for (const View& v : s.views) {
            v.show();
            QCoreApplication::processEvents();
            if (QTest::currentTestFailed())
                return;
            const QString where = u"%1 %2 at %3x%4"_s.arg(stations[station].name, v.name)
                                      .arg(size.width())
                                      .arg(size.height());
            QWidget& w = v.target ? *v.target : *s.window;
            checkRules(w, s, where, s.commandRow && v.commands);
            if (v.extra)
                v.extra(where);
            if (QTest::currentTestFailed())
                return;
            if (!dir.isEmpty())
                w.grab().save(u"%1/%2-%3-%4.png"_s.arg(dir, stations[station].name, v.name)
                                  .arg(size.width()));
        }
    }
};

QTEST_MAIN(TestStationLayout)
#include "TestStationLayout.moc"
