// Every station window with its data, on the panel sizes the mill uses, against the same rules:
// controls inside their frames, captions and grid captions whole, the command row in view,
// buttons finger sized with their caption whole and an accessible name. What a station adds
// (big fields, its list's rows in view) is checked in its own case.
#include "../marklabel/MaitouFixture.h"
#include "../packing/BagFixture.h"
#include "../progress/ProgressFixture.h"
#include "CheckFixture.h"

#include "dialogs/frmArticle.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "stations/progress/WorkloadListPart.h"
#include "support/LayoutCheck.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl3.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

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

// One view of a station: the rules, then what the station adds, then a picture when asked.
struct View {
    QString name;
    std::function<void()> show; // switches to the view
    std::function<void(const QString&)> extra = {};
    QWidget* target = nullptr; // the window checked, when not the station's
    bool commands = true;      // the command row is in view (when the station has one)
};

// Every visible control of the window lies inside its parent, not only those placed by design.
void checkAllInside(QWidget& w, const QString& where)
{
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (!c->isVisible() || c->isWindow() || c->parentWidget()->inherits("QAbstractScrollArea")
            || c->inherits("KeypadFrame") || c->parentWidget()->inherits("KeypadFrame"))
            continue;
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()), qPrintable(c->objectName() + " leaves its frame at " + where));
    }
}

} // namespace

class TestStationLayout : public QObject {
    Q_OBJECT

    static void checkRules(QWidget& w, const QString& where, bool commandRow, int minButton)
    {
        checkInsideAndReadable(w, where);
        checkLabelsWhole(w, where);
        if (commandRow)
            checkCommandsInView(w, where);
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (!b->isVisible() || b->parentWidget()->inherits("KeypadFrame") || b->text().isEmpty())
                continue;
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(),
                     qPrintable(b->objectName() + " caption cut at " + where));
            QVERIFY2(b->height() >= minButton, qPrintable(b->objectName() + " too small at " + where));
            QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->objectName() + " unnamed at " + where));
        }
    }

    // Ticks and chosen grades are seen from a step away: indicators grow with the type and stay
    // inside their box.
    static void checkIndicators(QWidget& w, const QString& where)
    {
        for (const QAbstractButton* box : w.findChildren<QAbstractButton*>()) {
            const bool radio = qobject_cast<const QRadioButton*>(box);
            if (!box->isVisible() || (!radio && !qobject_cast<const QCheckBox*>(box)))
                continue;
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect mark = box->style()->subElementRect(
                radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, box);
            QVERIFY2(mark.height() >= box->fontMetrics().height() * 3 / 4 && box->rect().contains(mark),
                     qPrintable(box->objectName() + " mark at " + where));
        }
    }

private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QSize>("size");
        for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            for (const char* station : {"check", "maitou", "huaxian", "select-item", "bag", "bag-marks", "load"})
                QTest::addRow("%s %dx%d", station, s.width(), s.height()) << QString::fromLatin1(station) << s;
    }

    void fitsThePanel()
    {
        QFETCH(QString, station);
        QFETCH(QSize, size);
        std::unique_ptr<CheckFixture> check;
        std::unique_ptr<BagFixture> bag;
        std::unique_ptr<ProgressFixture> load;
        std::unique_ptr<QWidget> owner; // dialogs over a station-sized window
        QWidget* window = nullptr;
        QList<View> views;
        bool commandRow = false;
        int minButton = 36;
        const auto pallet = [&](bool fiberBox) {
            check = std::make_unique<CheckFixture>();
            stackBoxes(*check, u"241206003"_s, fiberBox ? 18 : 0);
            frmMaitou& f = openMaitou(*check, fiberBox);
            QVERIFY(showWithParts(f, size));
            chooseItem(f, u"府绸"_s);
            f.controls().TxtBox[5]->setText(u"20"_s);
            f.controls().TxtBox[14]->setText(u"21.36"_s);
            if (!fiberBox)
                QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
            for (const QString& q : fiberBox ? QStringList{u"20.86"_s} : QStringList{u"25.5"_s, u"30"_s, u"28.8"_s})
                save(f, q);
            if (!fiberBox)
                QCOMPARE(f.ppgCheckGrid2()->rows(), 4);
            QCOMPARE(f.controls().SSTab1->currentWidget(), f.ppgCheckGrid2()->parentWidget());
            window = &f;
            commandRow = true;
            minButton = size.height() / 30;
            views << View{u"pallet"_s, [] {}, [&f](const QString& where) {
                              // The pallet's list has room for four packages and reads its
                              // pallet numbers whole; the new buttons cover no field.
                              const QTableWidget* list = f.ppgCheckGrid2()->table();
                              QVERIFY2(list->viewport()->height() >= 4 * list->rowHeight(0), qPrintable(where));
                              const int col = int(f.ppgCheckGrid2()->header().indexOf(u"板号"_s));
                              QVERIFY(list->fontMetrics().horizontalAdvance(f.ppgCheckGrid2()->textMatrix(1, col))
                                      < list->columnWidth(col));
                              for (QWidget* w : {static_cast<QWidget*>(f.cmdSelectItem()), static_cast<QWidget*>(f.cmdBangbtn())})
                                  for (QWidget* other : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                                      QVERIFY2(other == w || !other->isVisible() || !other->geometry().intersects(w->geometry()),
                                               qPrintable(w->objectName() + " covers " + other->objectName()));
                          }};
        };
        if (station == u"check") {
            check = std::make_unique<CheckFixture>("bugs=破洞,油污,断经,纬斜,粗纱,色差,稀密路,毛粒\nUSASTANDARD=美标4分制\n");
            frmCheck& f = check->open();
            auto* defects = new CheckDefectPart(&f);
            auto* labels = new CheckLabelPart(&f);
            auto* list = new CheckRollListPart(&f);
            f.resize(size);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            check->lookUp(u"K001"_s);
            auto& c = f.controls();
            c.TxtBox[0]->setText(u"001"_s); // the worker's name beside the code
            c.TxtBox[7]->setText(u"86.5"_s);
            c.TxtBox[2]->setText(u"150"_s);
            for (int i : {0, 2, 1}) {
                defects->bugBtn_Click(i);
                emit defects->UserControl31()->Confirm(u" 3"_s, u" 1"_s);
            }
            QVERIFY(f.saveRoll(true) > 0);
            for (int roll = 2; roll <= 7; ++roll) {
                c.TxtBox[18]->setText(u"00%1"_s.arg(roll));
                c.checkId->setText(u"0"_s);
                QVERIFY(f.saveRoll(false) > 0);
            }
            f.runCommand(10);
            QCOMPARE(list->grid()->rows(), 8); // header and the saved rolls
            c.machineCount->setText(u"1000"_s);
            c.TxtBox[2]->setText(u"250"_s);
            labels->cmdTag(0)->click();
            QCOMPARE(labels->labelRows().size(), 4);
            window = &f;
            commandRow = true;
            minButton = 0; // the roll form's small buttons; the commands are checked below
            const QPoint form = c.Frame6->pos();
            for (int tab = 0; tab < c.SSTab1->count(); ++tab)
                views << View{u"tab%1"_s.arg(tab), [&c, tab] { c.SSTab1->setCurrentIndex(tab); },
                              [&f, &c, form, list](const QString& where) {
                                  // Whichever tab is open, the roll form keeps its place.
                                  QCOMPARE(c.Frame6->pos(), form);
                                  if (c.SSTab1->currentWidget() == list->grid()->parentWidget())
                                      QVERIFY2(rowsInView(*list->grid()) >= 4, qPrintable(where));
                                  checkIndicators(f, where);
                              }};
            views[0].extra = [&f, &c, form, extra = views[0].extra](const QString& where) {
                extra(where);
                QVERIFY(!c.LabBox[2]->text().isEmpty());
                // Touch targets of the commands are at least finger sized (about 9 mm on a 15" panel).
                for (QPushButton* b : c.checkCommand)
                    if (b && b->isVisible())
                        QVERIFY2(b->height() >= 45, qPrintable(b->objectName() + " at " + where));
                // The roll number and quantity can be read from a step away; the fields of the
                // roll form do not overlap.
                QVERIFY(c.TxtBox[18]->fontInfo().pixelSize() >= 24 && c.TxtBox[7]->fontInfo().pixelSize() >= 24);
                QList<QWidget*> fields;
                for (QWidget* w : c.Frame6->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (w->isVisible() && w->property("designRect").isValid())
                        fields << w;
                for (int i = 0; i < fields.size(); ++i)
                    for (int j = i + 1; j < fields.size(); ++j)
                        QVERIFY2(!fields[i]->geometry().intersects(fields[j]->geometry()),
                                 qPrintable(fields[i]->objectName() + " overlaps " + fields[j]->objectName()));
            };
            // The settings panel, opened with the access code: its type grows like the form's.
            views << View{u"settings"_s, [&f] {
                              QVERIFY(f.settingsPanel()->checkAccessCode(u"5862"_s));
                          }, [&f](const QString& where) {
                              auto* panel = f.settingsPanel();
                              QVERIFY(panel->isVisible() && f.rect().contains(panel->geometry()));
                              for (const QWidget* w : panel->findChildren<QWidget*>())
                                  if (w->isVisible() && w->property("designPt").toDouble() == 12.0)
                                      QVERIFY2(qAbs(w->fontInfo().pixelSize() - f.fontInfo().pixelSize()) <= 1,
                                               qPrintable(w->objectName() + " at " + where));
                          }, nullptr, false};
        } else if (station == u"maitou" || station == u"huaxian") {
            pallet(station == u"huaxian");
            const auto& c = static_cast<frmMaitou*>(window)->controls();
            if (station == u"huaxian") {
                QCOMPARE(static_cast<frmMaitou*>(window)->palletSummary()->text(), u"净重:389.86  箱数:19"_s);
                for (const auto& [field, caption] : {std::pair{7, "净重"}, {14, "毛重"}, {18, "箱号"}, {3, "批号"}, {20, "筒数"}})
                    QCOMPARE(c.TxtBox[field]->accessibleName(), QString::fromUtf8(caption));
            }
        } else if (station == u"select-item") {
            check = std::make_unique<CheckFixture>();
            check->exec(u"insert into item(itemname,itemcode,itemspec,itemclass,isstop) values"
                        "('全棉府绸','T02','40x40 133x100',1,0),('涤棉府绸弹力','T03','45x45 110x76',1,0)"_s);
            owner = std::make_unique<QWidget>();
            owner->resize(size);
            owner->show();
            auto* d = new frmSelectItem(owner.get());
            d->prepare(nullptr, u"府绸"_s, 0, 0);
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            QCOMPARE(d->girdItem()->rows(), 4);
            window = d;
            // The article form behind 新增商品 / 修改商品, over the same station.
            auto* article = new frmArticle(owner.get());
            article->prepare(ItemArticle{});
            const auto within = [size](QWidget* w) {
                return [w, size](const QString& where) {
                    QVERIFY2(w->width() <= size.width() && w->height() <= size.height(), qPrintable(where));
                    checkAllInside(*w, where);
                };
            };
            views << View{u"list"_s, [] {}, within(d)}
                  << View{u"article"_s, [article] {
                              article->show();
                              QVERIFY(QTest::qWaitForWindowExposed(article));
                          }, within(article), article};
        } else if (station.startsWith(u"bag")) {
            const bool packing = station == u"bag";
            bag = std::make_unique<BagFixture>(packing ? "是否要打包=1\n" : "是否要打包=0\n");
            frmBag& f = bag->open();
            f.resize(size);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            f.bagNumber[0]->setText(u"261206001"_s);
            for (const QString& roll : {u"42"_s, u"43"_s, u"44"_s}) {
                bag->scan(roll);
                f.butFlow[4]->click();
            }
            QCOMPARE(f.ximadan->isVisible(), packing);
            QCOMPARE(f.LabMsg3->text(), u"台称暂停中"_s); // the scale box is not ticked
            window = &f;
            minButton = 48 * size.height() / 768; // pressed with gloves
            views << View{u"box"_s, [] {}, [&f, packing, minButton](const QString& where) {
                              QVERIFY(f.txtUser[0]->width() > f.txtUser[0]->fontMetrics().horizontalAdvance(u"涤棉府绸"_s));
                              QVERIFY(f.Label4->width() >= f.Label4->fontMetrics().horizontalAdvance(f.Label4->text()));
                              QVERIFY(packing ? f.ximaGrid->height() > 5 * f.ximaGrid->table()->rowHeight(1)
                                              : f.Frame4->height() > f.height() * 2 / 3);
                              checkAllInside(f, where);
                              for (QCheckBox* b : f.findChildren<QCheckBox*>())
                                  QVERIFY2(!b->isVisible()
                                               || (b->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, b) >= 20
                                                   && b->height() >= minButton && !b->accessibleName().isEmpty()
                                                   && b->fontMetrics().horizontalAdvance(b->text()) + b->height() <= b->width()),
                                           qPrintable(b->objectName() + " at " + where));
                          }};
        } else {
            load = std::make_unique<ProgressFixture>("Projects=织造,配布,染色,定型,复检,包装,验布,打卷,全部配布,\n");
            load->exec("insert into BillStatusDetail(barcode,billstatus,viewcount,viewnumber,usercode,remark,endUser) "
                       "values('K002','织造',1250.5,21,'001','第一缸','001')");
            frmWorkload& f = load->open();
            f.resize(size);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            load->enter("K002", 1, "001");
            window = &f;
            views << View{u"entry"_s, [&f] { f.SSTab1->setCurrentIndex(0); }}
                  << View{u"list"_s, [&f] {
                              f.SSTab1->setCurrentIndex(1);
                              QTest::mouseClick(f.list()->SearchWLBtn[0], Qt::LeftButton);
                          }, [&f](const QString&) { QCOMPARE(f.list()->pggBase->rows(), 2); }};
        }
        if (QTest::currentTestFailed())
            return;
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        for (const View& v : views) {
            v.show();
            QCoreApplication::processEvents();
            const QString where = u"%1 %2 at %3x%4"_s.arg(station, v.name).arg(size.width()).arg(size.height());
            QWidget& shown = v.target ? *v.target : *window;
            checkRules(shown, where, commandRow && v.commands, minButton);
            if (v.extra)
                v.extra(where);
            if (!dir.isEmpty())
                shown.grab().save(u"%1/%2-%3-%4.png"_s.arg(dir, station, v.name).arg(size.width()));
        }
    }
};

QTEST_MAIN(TestStationLayout)
#include "TestStationLayout.moc"
