// Item selection dialog: search, tick, confirm. The window keeps its column widths and the last
// choices of its lists per operator, so the next search starts where the last one ended.
#include "dialogs/frmSelectItem.h"

#include "db/DbError.h"
#include "dialogs/frmArticle.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"
#include "widgets/ComboEx.h"
#include "widgets/EditGrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Layout in twips of the station's design space; the dialog opens at this size and stretches.
const int FormWidth = 14400, FormHeight = 10080;
const int Margin = 120, RowHeight = 560, FrameHeight = 1640, ButtonHeight = 720, ButtonWidth = 1700;
const QString SettingsApp = u"MIREL"_s, SettingsSection = u"Bill"_s;
const QString TickMark = u"√"_s;
const int TickCol = 1;

// The article list of a bill type's limits (the search without words), kept at every online
// search for the dialog opened while the database is away.
const QString KeptListKind = u"selectItem.list"_s;

void keepList(const QString& limits, const Recordset& rs)
{
    try {
        Journal::store().putLookup(KeptListKind, limits, rs);
    } catch (const DbError&) {
        // A convenience for later; the search itself succeeded.
    }
}

// The search while the database is away: the kept list of the same limits, narrowed to the
// articles the station keeps (the only ones it can load offline) that show every word.
Recordset offlineArticles(const QString& limits, const QString& text)
{
    std::optional<Recordset> list;
    try {
        list = Journal::store().lookup(KeptListKind, limits);
    } catch (const DbError&) {
    }
    if (!list)
        return Recordset();
    const QStringList words =
        QString(text).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    Recordset out(list->columns());
    for (const QList<DbValue>& row : list->rows()) {
        QString texts;
        for (const DbValue& v : row)
            texts += v.toString() + u'\n';
        if (JournalLabelRows::articleKept(row.value(0).toLongLong())
            && std::all_of(words.cbegin(), words.cend(), [&](const QString& w) {
                   return texts.contains(w, Qt::CaseInsensitive);
               }))
            out.addRow(row);
    }
    return out;
}

} // namespace

frmSelectItem::frmSelectItem(QWidget* parent)
    : QDialog(parent), m_twips(parent ? Twips::of(parent) : Twips()),
      m_frame(new QGroupBox(u"查询条件"_s, this)), m_searchText(new QLineEdit(m_frame)),
      m_otherFields(new ComboEx(m_frame)), m_itemType(new ComboEx(m_frame)),
      m_storeRoom(new ComboEx(m_frame)), m_search(new QPushButton(u"查询"_s, m_frame)),
      m_grid(new EditGrid(this))
{
    setObjectName(u"frmSelectItem"_s);
    setWindowTitle(u"选择商品"_s);
    setModal(true);
    m_frame->setObjectName(u"Frame1"_s);
    const QString captions[3] = {u"查找"_s, u"商品类别"_s, u"仓库"_s};
    QWidget* buddies[3] = {m_searchText, m_itemType, m_storeRoom};
    const QString names[3] = {u"SearchText"_s, u"ItemType"_s, u"StoreRoom"_s};
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = new QLabel(captions[i], m_frame);
        m_labels[i]->setBuddy(buddies[i]);
        buddies[i]->setObjectName(names[i]);
        buddies[i]->setAccessibleName(captions[i]);
    }
    m_otherFields->setObjectName(u"OtherFields"_s);
    m_otherFields->setAccessibleName(u"查找字段"_s);
    m_search->setObjectName(u"Search"_s);
    m_search->setAccessibleName(m_search->text());
    m_grid->setObjectName(u"girdItem"_s);
    m_grid->setAccessibleName(u"商品列表"_s);
    m_grid->setTwips(m_twips);
    const QString buttonCaptions[4] = {u"确定"_s, u"取消"_s, u"新增商品"_s, u"修改商品"_s};
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = new QPushButton(buttonCaptions[i], this);
        m_buttons[i]->setObjectName(u"Command"_s + QString::number(i + 1));
        m_buttons[i]->setAccessibleName(buttonCaptions[i]);
    }
    // Enter belongs to the search box (search), not to a default button (close).
    for (QPushButton* b : {m_buttons[0], m_buttons[1], m_buttons[2], m_buttons[3], m_search})
        b->setAutoDefault(false);
    connect(m_buttons[0], &QPushButton::clicked, this, &frmSelectItem::confirm);
    connect(m_buttons[1], &QPushButton::clicked, this, [this] {
        m_result = u"-1"_s;
        reject();
    });
    connect(m_buttons[2], &QPushButton::clicked, this, &frmSelectItem::newArticle);
    connect(m_buttons[3], &QPushButton::clicked, this, &frmSelectItem::changeArticle);
    connect(m_search, &QPushButton::clicked, this, &frmSelectItem::search);
    connect(m_searchText, &QLineEdit::returnPressed, this, &frmSelectItem::search);
    connect(m_itemType, &ComboEx::selectionChanged, this, [this] {
        if (m_prepared)
            search();
    });
    connect(m_grid, &EditGrid::cellClicked, this, &frmSelectItem::toggleTick);
    // A double tap on an article takes that one article.
    connect(m_grid, &EditGrid::cellDoubleClicked, this, [this](int row, int col) {
        if (row >= 1 && col != TickCol)
            confirm();
    });
    QFont f = font();
    f.setPixelSize(m_twips.y(260));
    setFont(f);
    // The lists draw with the type they were made with unless told; the grid in points.
    for (QWidget* w : {static_cast<QWidget*>(m_otherFields), static_cast<QWidget*>(m_itemType),
                       static_cast<QWidget*>(m_storeRoom)})
        w->setFont(f);
    m_grid->setFontSize(12);
    resize(m_twips.x(FormWidth), m_twips.y(FormHeight));
    layoutForm();
}

QString frmSelectItem::gridFormat() { return u"^商品id|^选中|^商品代码|^商品名称|^商品规格|^单位|^价格"_s; }

QString frmSelectItem::showMe(QObject* caller, const QString& searchText, int kept, int billType,
                              QWidget* parent)
{
    frmSelectItem dialog(parent);
    if (dialog.prepare(caller, searchText, kept, billType))
        dialog.exec();
    return dialog.result();
}

bool frmSelectItem::prepare(QObject* caller, const QString& searchText, int kept, int billType)
{
    m_caller = caller;
    m_kept = kept;
    m_billType = billType;
    m_result.clear();
    try {
        m_filters = itemFiltersFor(billType);
        fillLists();
    } catch (const DbError& e) {
        if (!Journal::isOffline(e)) // offline the search says so, once
            MessageBox::critical(u"选择商品发生错误"_s + e.message(), this);
    }
    prepareGrid();
    restoreChoices();
    m_searchText->setText(searchText);
    m_prepared = true;
    return search() || !m_offline;
}

void frmSelectItem::fillLists()
{
    m_otherFields->clearEntries();
    const std::pair<QString, QString> fields[] = {
        {u"Default"_s, u"综合"_s},           {u"ItemBarCode"_s, u"条码/编号"_s},
        {u"a.itemcode"_s, u"商品代码"_s},    {u"a.ItemName"_s, u"商品名称"_s},
        {u"a.ItemSpec"_s, u"商品规格"_s},    {u"a.pinyin"_s, u"拼音"_s}};
    for (const auto& [value, text] : fields)
        m_otherFields->addEntry(value, text);
    m_otherFields->selectValue(u"Default"_s);
    // "全部" first: no limit, as on a bill type without one.
    const auto fill = [](ComboEx* list, const QString& sql) {
        list->clearEntries();
        list->addEntry(u"0"_s, u"全部"_s);
        Recordset rs = Journal::cachedRead(u"selectItem.lists"_s, sql, sql);
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            list->addEntry(rs.text(0), rs.text(1));
    };
    fill(m_itemType, u"select itemtypeId,itemtypeName from itemtype order by itemtypeId"_s);
    fill(m_storeRoom, u"select storeRoomid,storeRoomname from storeroom order by storeRoomid"_s);
}

void frmSelectItem::prepareGrid()
{
    m_grid->setFormatString(gridFormat());
    m_grid->setRows(1);
    const int widths[] = {900, 700, 1800, 3000, 2400};
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_grid->setColWidth(c, widths[c]);
}

void frmSelectItem::restoreChoices()
{
    const QStringList lists =
        SysUtil::getSetting(SettingsApp, SettingsSection, u"selectItemWindowPoint"_s).split(u',');
    m_otherFields->selectValue(lists.value(0, u"Default"_s));
    m_itemType->selectValue(lists.value(1, u"0"_s));
    m_storeRoom->selectValue(lists.value(2, u"0"_s));
    // The bill type's own limits come before the operator's last choice.
    if (m_filters.itemType > 0)
        m_itemType->selectValue(QString::number(m_filters.itemType));
    if (m_filters.storeRoom > 0)
        m_storeRoom->selectValue(QString::number(m_filters.storeRoom));
}

void frmSelectItem::saveChoices() const
{
    SysUtil::saveSetting(SettingsApp, SettingsSection, u"SelectItemWindow"_s,
                         m_grid->colWidthList());
    SysUtil::saveSetting(SettingsApp, SettingsSection, u"selectItemWindowPoint"_s,
                         m_otherFields->selectedValue() + u',' + m_itemType->selectedValue() + u','
                             + m_storeRoom->selectedValue());
}

bool frmSelectItem::search()
{
    ItemSearch s;
    s.text = m_searchText->text();
    s.field = m_otherFields->selectedValue().isEmpty() ? u"Default"_s : m_otherFields->selectedValue();
    s.itemClassList = m_filters.itemClassList;
    s.itemType = int(vb::Val(m_itemType->selectedValue()));
    s.storeRoom = int(vb::Val(m_storeRoom->selectedValue()));
    const QString limits = QStringList{s.itemClassList, QString::number(s.itemType),
                                       QString::number(s.storeRoom)}
                               .join(u'|');
    bool online = true;
    Recordset rs;
    try {
        rs = searchItems(Database::conn(), s);
        if (s.text.trimmed().isEmpty())
            keepList(limits, rs);
    } catch (const DbError& e) {
        if (!Journal::isOffline(e)) {
            MessageBox::critical(u"查询商品发生错误"_s + e.message(), this);
            return false;
        }
        online = false;
        rs = offlineArticles(limits, s.text);
    }
    showOnline(online);
    if (!online && rs.recordCount() == 0) {
        MessageBox::critical(u"数据库离线，只能选本机以前选过的商品；这次查询没有这样的商品，"
                             "数据库连上后再查"_s,
                             this);
        return false;
    }
    m_grid->bindRecordset(rs);
    // The built-in query's columns across the grid; a stored query's follow their contents.
    static const int widths[] = {900, 700, 1800, 3600, 3000, 1500, 1200, 1200};
    if (m_grid->cols() == int(std::size(widths)))
        for (int c = 0; c < m_grid->cols(); ++c)
            m_grid->setColWidth(c, widths[c]);
    m_grid->applyColWidthList(
        SysUtil::getSetting(SettingsApp, SettingsSection, u"SelectItemWindow"_s));
    if (rs.recordCount() == 0) {
        m_searchText->setFocus();
        m_searchText->selectAll();
    }
    return true;
}

void frmSelectItem::showOnline(bool online)
{
    m_offline = !online;
    m_frame->setTitle(online ? u"查询条件"_s : u"查询条件（数据库离线：本机以前选过的商品）"_s);
    // Articles are made and changed on the database only.
    m_buttons[2]->setEnabled(online);
    m_buttons[3]->setEnabled(online);
}

void frmSelectItem::toggleTick(int row, int col)
{
    if (row < 1 || col != TickCol)
        return;
    m_grid->setTextMatrix(row, TickCol,
                          m_grid->textMatrix(row, TickCol).isEmpty() ? TickMark : QString());
}

QString frmSelectItem::entry(int row) const
{
    QString e = m_grid->textMatrix(row, 0);
    // The built-in query's eighth column is the stock, which a caller may take along.
    if (m_grid->cols() == 8 && !m_grid->textMatrix(row, 6).isEmpty())
        e += u'|' + m_grid->textMatrix(row, 6);
    return e + u',';
}

void frmSelectItem::confirm()
{
    m_result.clear();
    const int first = std::min(m_grid->row(), m_grid->rowSel());
    const int last = std::max(m_grid->row(), m_grid->rowSel());
    auto inRange = [&](int r) { return r >= first && r <= last; };
    for (int r = 1; r < m_grid->rows(); ++r)
        if (!inRange(r) && vb::Val(m_grid->textMatrix(r, 0)) > 0
            && !m_grid->textMatrix(r, TickCol).isEmpty())
            m_result += entry(r);
    for (int r = std::max(first, 1); r <= last; ++r)
        if (vb::Val(m_grid->textMatrix(r, 0)) > 0)
            m_result += entry(r);
    accept();
}

int frmSelectItem::chosenItemId() const
{
    return m_grid->row() > 0 ? int(vb::Val(m_grid->textMatrix(m_grid->row(), 0))) : 0;
}

void frmSelectItem::newArticle()
{
    const int itemClass = int(vb::Val(m_filters.itemClassList.section(u',', 0, 0)));
    const int id = frmArticle::newArticle(itemClass > 0 ? itemClass : 1, this);
    if (id <= 0)
        return;
    // The new article is what the operator wants to see next.
    const ItemArticle a = loadArticle(Database::conn(), id);
    m_searchText->setText(a.name);
    search();
}

void frmSelectItem::changeArticle()
{
    const int id = chosenItemId();
    if (id <= 0) {
        MessageBox::show(u"请选择一个商品后，再点击修改商品按钮"_s, MessageBox::Information,
                         MessageBox::Ok, QString(), this);
        return;
    }
    try {
        if (frmArticle::changeArticle(id, this))
            search();
    } catch (const DbError& e) {
        MessageBox::critical(u"修改商品发生错误"_s + e.message(), this);
    }
}

void frmSelectItem::done(int r)
{
    saveChoices();
    QDialog::done(r);
}

void frmSelectItem::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    layoutForm();
}

void frmSelectItem::layoutForm()
{
    const Twips& t = m_twips;
    const int w = t.toTwipsX(width()), h = t.toTwipsY(height());
    // The frames stretch with the window; the buttons keep their distance from the bottom.
    m_frame->setGeometry(t.rect(Margin, Margin / 2, w - 2 * Margin, FrameHeight));
    const int row1 = 380, row2 = row1 + RowHeight + 120, labelW = 1300;
    m_labels[0]->setGeometry(t.rect(180, row1, labelW, RowHeight));
    m_searchText->setGeometry(t.rect(180 + labelW, row1, 5200, RowHeight));
    m_otherFields->setGeometry(t.rect(6800, row1, 2200, RowHeight));
    m_search->setGeometry(t.rect(9200, row1, 1600, RowHeight));
    m_labels[1]->setGeometry(t.rect(180, row2, labelW, RowHeight));
    m_itemType->setGeometry(t.rect(180 + labelW, row2, 3200, RowHeight));
    m_labels[2]->setGeometry(t.rect(4900, row2, 900, RowHeight));
    m_storeRoom->setGeometry(t.rect(5800, row2, 3200, RowHeight));
    const int gridTop = Margin / 2 + FrameHeight + Margin;
    const int buttonTop = h - Margin - ButtonHeight;
    m_grid->setGeometry(t.rect(Margin, gridTop, w - 2 * Margin, buttonTop - Margin - gridTop));
    for (int i = 0; i < 2; ++i) {
        m_buttons[i + 2]->setGeometry(
            t.rect(Margin + i * (ButtonWidth + Margin), buttonTop, ButtonWidth, ButtonHeight));
        m_buttons[i]->setGeometry(t.rect(w - (2 - i) * (ButtonWidth + Margin), buttonTop,
                                         ButtonWidth, ButtonHeight));
    }
}
