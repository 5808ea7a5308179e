// The item selection dialog on a real embedded database: what a search finds, what the bill
// type limits, what confirm and cancel hand back, and the article form behind its buttons.
#include "dialogs/ItemSearch.h"
#include "dialogs/frmArticle.h"
#include "dialogs/frmSelectItem.h"
#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "support/TempProgramFolder.h"
#include "widgets/ComboEx.h"
#include "widgets/EditGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ItemSearch)

namespace {

QString scalar(const QString& sql)
{
    Recordset rs = Database::conn().execute(sql);
    return rs.isOpen() && !rs.eof() ? rs.text(0) : QString();
}

/// The item ids of the dialog's grid, top to bottom, joined with ",".
QString gridIds(const EditGrid* g)
{
    QStringList ids;
    for (int r = 1; r < g->rows(); ++r)
        ids << g->textMatrix(r, 0);
    return ids.join(u',');
}

void clickCell(EditGrid* g, int row, int col, Qt::KeyboardModifiers mods = {})
{
    QTableWidget* t = g->table();
    const QRect cell = t->visualRect(t->model()->index(row - 1, col));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, mods, cell.center());
}

} // namespace

class TestSelectItem : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_home;

private slots:
    void init()
    {
        m_home = std::make_unique<TempProgramFolder>();
        m_home->writeFile(u"config.ini"_s, "[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
        m_home->writeFile(u"mirel.ini"_s, "[MIREL]\n");
        DbInfoCache::clear();
        MessageBox::clearShown();
        MessageBox::clearAnswers();
        QVERIFY(Database::openConnection());
        const char* rows[] = {
            "insert into itemtype(itemtypeId,itemtypeName) values(1,'梭织'),(2,'针织')",
            "insert into storeroom(storeRoomid,storeRoomname) values(1,'成品仓'),(2,'坯布仓')",
            "insert into item(itemid,itemcode,itemname,itemspec,itemclass,itemtypeid,isstop,pinyin)"
            " values(1,'T01','涤棉府绸','45x45',1,1,0,'dmfc'),(2,'T02','全棉府绸','40x40',1,1,0,'qmfc'),"
            "(3,'T03','涤纶春亚纺','75D',1,2,0,'dlcyf'),(4,'K01','涤棉汗布','40S',2,2,0,'dmhb'),"
            "(5,'T05','涤棉停用布','-',1,1,1,'dmty'),(6,'T06','O''Neil 府绸','-',1,1,0,'on')",
            "insert into iteminstore(itemid,storeRoomid,stocks) values(1,1,3260),(3,2,842)",
            "insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('BillConfig','55','|2||2|||1,2'),"
            "('BillConfig','57','|0||0|'),('BillConfig','58','|1||0|||')",
        };
        for (const char* sql : rows)
            Database::conn().execute(QString::fromUtf8(sql));
    }
    void cleanup()
    {
        Database::conn().close();
        m_home.reset();
    }

    void searchFindsWhatEveryWordMatches_data()
    {
        QTest::addColumn<ItemSearch>("search");
        QTest::addColumn<QString>("ids");
        const auto row = [](const char* name, const QString& text, const QString& ids,
                            const QString& field = u"Default"_s, const QString& classes = u"1"_s,
                            int type = 0, int room = 0) {
            QTest::newRow(name) << ItemSearch{text, field, classes, type, room} << ids;
        };
        row("one word, stopped article left out", u"涤棉"_s, u"1"_s);
        row("two words, both must match", u"府绸 涤"_s, u"1"_s);
        row("two words, extra blanks", u"  全棉   府绸 "_s, u"2"_s);
        row("two words, full-width space", u"府绸\u3000涤"_s, u"1"_s);
        row("quote taken out of the word", u"O'Neil"_s, QString());
        row("quoted name found without its quote", u"'府绸'"_s, u"1,2,6"_s);
        row("pinyin", u"dlcyf"_s, u"3"_s);
        row("code or id by bar code field", u"3"_s, u"3"_s, u"ItemBarCode"_s);
        row("a column of its own", u"T0"_s, u"1,2,3,6"_s, u"a.itemcode"_s);
        row("second class", u"涤棉"_s, u"1,4"_s, u"Default"_s, u"1,2"_s);
        row("item type", QString(), u"3,4"_s, u"Default"_s, u"1,2"_s, 2);
        row("warehouse", QString(), u"3"_s, u"Default"_s, u"1"_s, 0, 2);
    }
    void searchFindsWhatEveryWordMatches()
    {
        QFETCH(ItemSearch, search);
        Recordset rs = searchItems(Database::conn(), search);
        QStringList found;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            found << rs.text(0);
        std::sort(found.begin(), found.end());
        QTEST(found.join(u','), "ids");
    }

    void rowLimitAndStoredBase()
    {
        ItemSearch all{QString(), u"Default"_s, u"1,2"_s, 0, 0};
        m_home->writeFile(u"mirel.ini"_s, "[MIREL]\ntopBill=2\n");
        QCOMPARE(searchItems(Database::conn(), all).recordCount(), 2);
        // A mill's own base statement replaces the built-in one; the limits still follow it.
        Database::conn().execute(
            u"insert into Dictionary(ITEMTYPE,ItemValues,ReportSQL) values('listSQL',"
            "'LoadItemBaseByItemLike','select a.itemid, a.itemname from item a where a.itemcode like ''T%''')"_s);
        all.field = u"a.itemspec"_s;
        all.text = u"4"_s;
        QCOMPARE(searchItems(Database::conn(), all).recordCount(), 2);
    }

    void billTypeLimitsTheSearch_data()
    {
        QTest::addColumn<int>("billType");
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("filters"); // item type, warehouse, classes
        QTest::newRow("full BillConfig") << 55 << "" << "2 2 1,2";
        QTest::newRow("short BillConfig gives class 1") << 57 << "" << "0 0 1";
        QTest::newRow("empty class part gives class 1") << 58 << "" << "1 0 1";
        QTest::newRow("type without BillConfig") << 99 << "" << "0 0 1";
        QTest::newRow("no bill type: own classes") << 0 << "maitou_itemclass=2,3" << "0 0 2,3";
        QTest::newRow("no bill type, no setting") << 0 << "" << "0 0 1";
    }
    void billTypeLimitsTheSearch()
    {
        QFETCH(int, billType);
        QFETCH(QString, ini);
        m_home->writeFile(u"mirel.ini"_s, "[MIREL]\n" + ini.toUtf8() + "\n");
        frmSelectItem d;
        d.prepare(nullptr, QString(), 0, billType);
        const ItemFilters f = d.filters();
        QTEST(u"%1 %2 "_s.arg(f.itemType).arg(f.storeRoom) + f.itemClassList, "filters");
        QCOMPARE(d.ItemType()->selectedValue(), QString::number(f.itemType)); // chosen on the list
    }

    void confirmHandsBackTickedAndSelectedRows_data()
    {
        QTest::addColumn<QList<int>>("ticks");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("selEnd");
        QTest::addColumn<QString>("close"); // 确定, 取消 or Esc
        QTest::addColumn<QString>("result");
        // Built-in rows by id: 1 (stock 3260), 2, 3 (stock 842), 6.
        QTest::newRow("current row only") << QList<int>{} << 2 << 0 << "确定" << "2,";
        QTest::newRow("stock joins the id") << QList<int>{} << 1 << 0 << "确定" << "1|3260,";
        QTest::newRow("ticked rows first") << QList<int>{4, 2} << 3 << 0 << "确定" << "2,6,3|842,";
        QTest::newRow("ticked twice is untick") << QList<int>{2, 2} << 1 << 0 << "确定" << "1|3260,";
        QTest::newRow("range up, no repeat") << QList<int>{3} << 4 << 2 << "确定" << "2,3|842,6,";
        QTest::newRow("取消 says so") << QList<int>{3} << 2 << 0 << "取消" << "-1";
        QTest::newRow("Esc gives nothing") << QList<int>{3} << 2 << 0 << "Esc" << "";
    }
    void confirmHandsBackTickedAndSelectedRows()
    {
        QFETCH(QList<int>, ticks);
        QFETCH(int, current);
        QFETCH(int, selEnd);
        QFETCH(QString, close);
        frmSelectItem d;
        d.prepare(nullptr, u"府绸 涤"_s, 0, 0);
        d.SearchText()->setText(QString());
        QTest::mouseClick(d.Search(), Qt::LeftButton);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        EditGrid* g = d.girdItem();
        QCOMPARE(gridIds(g), u"1,2,3,6"_s);
        for (int row : ticks)
            clickCell(g, row, 1);
        clickCell(g, current, 3);
        if (selEnd > 0)
            clickCell(g, selEnd, 3, Qt::ShiftModifier);
        if (close == u"Esc")
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            QTest::mouseClick(close == u"确定" ? d.Command1() : d.Command2(), Qt::LeftButton);
        QTEST(d.result(), "result");
        QVERIFY(!d.isVisible());
    }

    void enterSearchesAndAnEmptyResultSelectsTheText()
    {
        frmSelectItem d;
        d.prepare(nullptr, QString(), 0, 0);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.SearchText()->setFocus();
        QTest::keyClicks(d.SearchText(), u"dlcyf"_s); // pinyin typed on the panel's keyboard
        QTest::keyClick(d.SearchText(), Qt::Key_Return);
        QVERIFY(d.isVisible()); // Enter searches, it does not close
        QCOMPARE(gridIds(d.girdItem()), u"3"_s);
        QTest::keyClicks(d.SearchText(), u"x"_s);
        QTest::keyClick(d.SearchText(), Qt::Key_Return);
        QCOMPARE(d.girdItem()->rows(), 1);
        QCOMPARE(d.SearchText()->selectedText(), d.SearchText()->text());
    }

    void widthsAndChoicesComeBack()
    {
        {
            frmSelectItem d;
            d.prepare(nullptr, QString(), 0, 0);
            d.OtherFields()->selectValue(u"a.ItemName"_s);
            d.StoreRoom()->selectValue(u"2"_s);
            d.girdItem()->setColWidth(3, 4321);
            d.reject();
        }
        frmSelectItem d;
        d.prepare(nullptr, QString(), 0, 0);
        QCOMPARE(d.OtherFields()->selectedValue() + u' ' + d.StoreRoom()->selectedValue(),
                 u"a.ItemName 2"_s);
        QCOMPARE(d.girdItem()->colWidth(3), 4321);
        QCOMPARE(gridIds(d.girdItem()), u"3"_s); // the warehouse choice limits the first search
    }

    // A station started while the database is away: its picker offers the articles listed
    // online that the station chose then and that show the words, or says why it offers none.
    void offlineOffersTheArticlesChosenHere_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("offered"); // the dialog's articles, then what was shown
        QTest::newRow("three chosen, two 府绸") << "2,3,6" << "2,6";
        QTest::newRow("none chosen") << "" << "数据库离线，只能选本机以前选过的商品；这次查询没有这样"
                                               "的商品，数据库连上后再查";
    }
    void offlineOffersTheArticlesChosenHere()
    {
        QFETCH(QString, chosen);
        frmSelectItem().prepare(nullptr, QString(), 0, 0); // 1, 2, 3 and 6 online
        for (const QString& id : chosen.split(u',', Qt::SkipEmptyParts))
            JournalLabelRows::keepArticle(Database::conn().execute(u"select * from item where itemid="_s + id));
        Database::conn().close();
        MessageBox::clearShown();
        QStringList offered;
        QTimer look;
        connect(&look, &QTimer::timeout, this, [&offered] {
            if (auto* d = qobject_cast<frmSelectItem*>(QApplication::activeModalWidget())) {
                offered << gridIds(d->girdItem());
                d->reject();
            }
        });
        look.start(0);
        frmSelectItem::showMe(nullptr, u"府绸"_s, 0, 0);
        for (const MessageBox::Shown& m : MessageBox::shown())
            offered << m.text;
        QTEST(offered.join(u" / "_s), "offered");
    }

    void newAndChangedArticlesAreStored()
    {
        frmSelectItem d;
        d.prepare(nullptr, QString(), 0, 0);
        d.show();
        QString shownAfterSave;
        auto fillArticle = [&](const QString& name, const QString& price) {
            QTimer::singleShot(0, [&, name, price] {
                auto* form = qobject_cast<frmArticle*>(QApplication::activeModalWidget());
                QVERIFY(form);
                form->TxtBox(1)->clear();
                form->TxtBox(1)->insert(name);
                form->TxtBox(4)->setText(price);
                QTest::mouseClick(form->Command1(0), Qt::LeftButton);
                shownAfterSave = form->isVisible() ? MessageBox::lastShown().text : QString();
                if (form->isVisible())
                    form->reject();
            });
        };
        fillArticle(u"新品 府绸"_s, u"abc"_s);
        QTest::mouseClick(d.Command3(), Qt::LeftButton);
        QCOMPARE(shownAfterSave, u"请输入有效的价格"_s);
        QCOMPARE(scalar(u"select count(*) from item"_s), u"6"_s);
        fillArticle(u"新品府绸"_s, u"9.5"_s);
        QTest::mouseClick(d.Command3(), Qt::LeftButton);
        QCOMPARE(scalar(u"select itemid || ' ' || price from item where itemname='新品府绸'"_s),
                 u"7 9.5"_s);
        QCOMPARE(gridIds(d.girdItem()), u"7"_s); // the new article is shown

        d.girdItem()->setRow(0);
        MessageBox::clearShown();
        QTest::mouseClick(d.Command4(), Qt::LeftButton);
        QCOMPARE(MessageBox::lastShown().text, u"请选择一个商品后，再点击修改商品按钮"_s);
        clickCell(d.girdItem(), 1, 3);
        fillArticle(u"O'Neil 新品"_s, u"11"_s);
        QTest::mouseClick(d.Command4(), Qt::LeftButton);
        QCOMPARE(scalar(u"select itemname || ' ' || price from item where itemid=7"_s),
                 u"O'Neil 新品 11"_s);
    }
};

QTEST_MAIN(TestSelectItem)
#include "TestSelectItem.moc"
