// The quality overview window: controls, layout, filters, the query and the touched bars.
#include "stations/quality/frmQuality.h"

#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/DefectPhotos.h"
#include "stations/quality/QualityChartViews.h"
#include "stations/quality/QualityPictures.h"
#include "stations/quality/QualityText.h"
#include "widgets/ScreenMode.h"
#include "widgets/StatusLine.h"
#include "widgets/TwipLayout.h"
#include "widgets/UserControl4.h"
#include "time/Clock.h"

#include <QDateEdit>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowA = 120;
constexpr int RowB = 760;
constexpr int FieldHeight = 560;
constexpr int FigureTop = 1840;
constexpr int FigureHeight = 1400;
constexpr int ChartTop = 3360;
constexpr int ChartHeight = 3960;

// Longer ranges are work for the mill's server that belongs in the night's reports.
constexpr int MaxDays = 366;

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& r,
                    const QString& accessible = QString())
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessible.isEmpty() ? text : accessible);
    placeTwips(b, r);
    return b;
}

QDateEdit* dateBox(QWidget* parent, const QString& name, QLabel* label, const QRect& r)
{
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setAccessibleName(label->text());
    d->setDisplayFormat(u"yyyy-MM-dd"_s);
    d->setCalendarPopup(true);
    label->setBuddy(d);
    placeTwips(d, r);
    return d;
}

// Columns as wide as their texts, and the room left over shared out, so that the table fills
// its tab on a wide panel.
void fitColumns(QTableWidget* t, int width)
{
    t->resizeColumnsToContents();
    if (t->columnCount() == 0)
        return;
    int used = 0;
    for (int c = 0; c < t->columnCount(); ++c)
        used += t->columnWidth(c);
    // The tab's own page is laid out later than the window: the room is taken from the tab.
    const int room =
        width - 2 * t->frameWidth() - t->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
    const int spare = (room - used) / t->columnCount();
    if (spare > 0)
        for (int c = 0; c < t->columnCount(); ++c)
            t->setColumnWidth(c, t->columnWidth(c) + spare);
}

} // namespace

frmQuality::frmQuality(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"frmQuality"_s);
    setWindowTitle(u"质量总览"_s);
    resize(1024, 768);
    buildFilters();
    buildFigures();
    buildCharts();
    buildTables();
    picker = new UserControl4(this);
    picker->setObjectName(u"UserControl41"_s);
    picker->hide();
    connect(picker, &UserControl4::Confirm, picker, &QWidget::hide);
}

frmQuality::~frmQuality() = default;

void frmQuality::buildFilters()
{
    QLabel* l =
        placeCaption(this, u"labFrom"_s, u"开始日期"_s, QRect(120, RowA, 1000, FieldHeight));
    dtpFrom = dateBox(this, u"dtpFrom"_s, l, QRect(1160, RowA, 1800, FieldHeight));
    l = placeCaption(this, u"labTo"_s, u"结束日期"_s, QRect(3060, RowA, 1000, FieldHeight));
    dtpTo = dateBox(this, u"dtpTo"_s, l, QRect(4100, RowA, 1800, FieldHeight));
    l = placeCaption(this, u"labMachine"_s, u"机台"_s, QRect(6000, RowA, 600, FieldHeight));
    txtMachine = placeTextBox(this, u"txtMachine"_s, l, QRect(6640, RowA, 1200, FieldHeight));
    cmdPickMachine = button(this, u"cmdPickMachine"_s, u"▼"_s, QRect(7880, RowA, 460, FieldHeight),
                            u"选择机台"_s);
    l = placeCaption(this, u"labInspector"_s, u"验布员"_s, QRect(8400, RowA, 900, FieldHeight));
    txtInspector = placeTextBox(this, u"txtInspector"_s, l, QRect(9340, RowA, 1200, FieldHeight));
    cmdPickInspector = button(this, u"cmdPickInspector"_s, u"▼"_s,
                              QRect(10580, RowA, 460, FieldHeight), u"选择验布员"_s);
    l = placeCaption(this, u"labCard"_s, u"卡号"_s, QRect(120, RowB, 1000, FieldHeight));
    txtCard = placeTextBox(this, u"txtCard"_s, l, QRect(1160, RowB, 1800, FieldHeight));
    l = placeCaption(this, u"labItem"_s, u"品种"_s, QRect(3060, RowB, 1000, FieldHeight));
    txtItem = placeTextBox(this, u"txtItem"_s, l, QRect(4100, RowB, 1800, FieldHeight));

    labTouched = new QLabel(this);
    labTouched->setObjectName(u"labTouched"_s);
    labTouched->setAccessibleName(u"已选"_s);
    labTouched->setWordWrap(true);
    placeTwips(labTouched, QRect(6000, RowB, 3880, FieldHeight));
    cmdClear = button(this, u"cmdClear"_s, u"清除选择"_s, QRect(9940, RowB, 1100, FieldHeight));
    cmdQuery = button(this, u"cmdQuery"_s, u"查询"_s, QRect(11160, RowA, 1300, 1200));
    cmdPdf = button(this, u"cmdPdf"_s, u"导出PDF"_s, QRect(12580, RowA, 1300, FieldHeight));
    cmdXlsx = button(this, u"cmdXlsx"_s, u"导出Excel"_s, QRect(13940, RowA, 1300, FieldHeight));
    auto* exit = button(this, u"cmdExit"_s, u"退出"_s, QRect(13940, RowB, 1300, FieldHeight));
    lab_status = new StatusLine(this);
    lab_status->setObjectName(u"lab_status"_s);
    lab_status->setAccessibleName(u"状态"_s);
    placeTwips(lab_status, QRect(120, 1400, 15120, 400));

    connect(cmdQuery, &QPushButton::clicked, this, &frmQuality::query);
    connect(cmdClear, &QPushButton::clicked, this, &frmQuality::clearTouch);
    connect(cmdPdf, &QPushButton::clicked, this, [this] { exportPdf(); });
    connect(cmdXlsx, &QPushButton::clicked, this, [this] { exportXlsx(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdPickMachine, &QPushButton::clicked, this,
            [this] { openPicker(txtMachine, QString()); });
    connect(cmdPickInspector, &QPushButton::clicked, this,
            [this] { openPicker(txtInspector, u"inspector"_s); });
    for (QLineEdit* b : {txtMachine, txtCard, txtItem, txtInspector})
        connect(b, &QLineEdit::returnPressed, this, &frmQuality::query);
}

void frmQuality::buildFigures()
{
    const QList<QualityText::Figure> captions = QualityText::figures({}, {});
    for (int i = 0; i < captions.size(); ++i) {
        auto* f = new QFrame(this);
        f->setObjectName(u"figureBox_%1"_s.arg(i));
        f->setAccessibleName(captions[i].caption);
        f->setFrameShape(QFrame::StyledPanel);
        placeTwips(f, QRect(120 + i * 3040, FigureTop, 2960, FigureHeight));
        auto* cap = new QLabel(f);
        cap->setObjectName(u"labFigure_%1"_s.arg(i));
        cap->setText(captions[i].caption);
        placeTwips(cap, QRect(80, 40, 2800, 360));
        auto* now = new QLabel(f);
        now->setObjectName(u"labFigureNow_%1"_s.arg(i));
        now->setAlignment(Qt::AlignCenter);
        now->setAccessibleName(captions[i].caption);
        placeTwips(now, QRect(80, 400, 2800, 560));
        auto* before = new QLabel(f);
        before->setObjectName(u"labFigureBefore_%1"_s.arg(i));
        before->setAlignment(Qt::AlignCenter);
        before->setWordWrap(true);
        placeTwips(before, QRect(80, 960, 2800, 400));
        figureBox << f;
        labFigure << cap;
        labFigureNow << now;
        labFigureBefore << before;
    }
}

void frmQuality::buildTables()
{
    tabTables = new QTabWidget(this);
    tabTables->setObjectName(u"tabTables"_s);
    placeTwips(tabTables, QRect(7740, ChartTop + ChartHeight + 120, 7500, ChartHeight));
    auto table = [this](const QString& name, const QString& title) {
        auto* t = new QTableWidget(tabTables);
        t->setObjectName(name);
        t->setAccessibleName(title);
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->verticalHeader()->hide();
        tabTables->addTab(t, title);
        return t;
    };
    gridMachine = table(u"gridMachine"_s, u"按机台"_s);
    gridInspector = table(u"gridInspector"_s, u"按验布员"_s);
    pictures = new QualityPictures(tabTables);
    tabTables->addTab(pictures, QualityPictures::title());
}

void frmQuality::Form_Load()
{
    Database::openConnection();
    m_grades = QualityData::parseGrades(
        SysUtil::readIni(u"MIREL"_s, u"grade"_s, QString(), u"/mirel.ini"_s));
    m_cap = QualityData::frameCap(
        SysUtil::readIni(u"MIREL"_s, u"USASTANDARD"_s, QString(), u"/mirel.ini"_s),
        SysUtil::readIni(u"MIREL"_s, u"CapPerUnit"_s, QString(), u"/mirel.ini"_s));
    m_photoFolder =
        DefectPhotos(SysUtil::readIni(u"MIREL"_s, u"PhotoFolder"_s, QString(), u"/mirel.ini"_s).trimmed())
            .folder();
    const QDate today = Clock::today();
    dtpTo->setDate(today);
    dtpFrom->setDate(today.addDays(-6));
    if (Database::conn().isOpen()) {
        query();
    } else {
        lab_status->setText(u"数据库连接失败"_s);
        refreshWhenBack();
    }
}

QualitySql::Filter frmQuality::filter() const
{
    QualitySql::Filter f;
    f.from = dtpFrom->date();
    f.to = dtpTo->date();
    f.machine = txtMachine->text().trimmed();
    f.card = txtCard->text().trimmed();
    f.item = txtItem->text().trimmed();
    f.inspector = txtInspector->text().trimmed();
    return f;
}

bool frmQuality::query()
{
    picker->hide();
    if (dtpFrom->date() > dtpTo->date()) {
        MessageBox::show(u"开始日期不能晚于结束日期"_s, MessageBox::Exclamation, MessageBox::Ok,
                         QString(), this);
        dtpFrom->setFocus();
        return false;
    }
    if (dtpFrom->date().daysTo(dtpTo->date()) >= MaxDays) {
        MessageBox::show(u"日期范围不能超过%1天"_s.arg(MaxDays), MessageBox::Exclamation,
                         MessageBox::Ok, QString(), this);
        dtpFrom->setFocus();
        return false;
    }
    m_base = filter();
    m_touch = QualitySql::Filter();
    return reload();
}

bool frmQuality::reload()
{
    if (!m_base.from.isValid()) // nothing queried yet (the database was away at start)
        return query();
    // A database that was away at start-up or went away since is tried again on every query.
    if (!Database::conn().isOpen() && !Database::openConnection()) {
        lab_status->setText(u"数据库连接失败"_s);
        refreshWhenBack();
        return false;
    }
    try {
        // Touches narrow what was queried, not what has been typed since.
        QualitySql::Filter f = m_base;
        f.defect = m_touch.defect;
        f.day = m_touch.day;
        f.grade = m_touch.grade;
        showOverview(QualityData::load(Database::conn(), f, m_grades, m_cap));
        showPictures(f);
    } catch (const DbError& e) {
        // The figures of the last query stay; a database that went away brings new ones when
        // it is back, as the wall board does.
        const bool away = Journal::isOffline(e);
        lab_status->setText(away ? u"查询失败：数据库离线，连上后自动刷新"_s : u"查询失败"_s);
        if (away)
            refreshWhenBack();
        MessageBox::show(u"查询失败："_s + e.message(), MessageBox::Critical, MessageBox::Ok,
                         QString(), this);
        return false;
    }
    return true;
}

void frmQuality::showPictures(const QualitySql::Filter& f)
{
    QList<QualityData::Picture> found;
    QString note;
    try {
        found = QualityData::pictures(Database::conn(), f, QualityPictures::Count);
    } catch (const DbError& e) {
        // A mill database without the pictures' table, or one that just went away: the
        // overview stands, the tab says why it is empty.
        note = u"照片读不到："_s + e.message();
    }
    pictures->show(f.defect, found, m_photoFolder, note);
    if (!found.isEmpty())
        tabTables->setCurrentWidget(pictures);
}

void frmQuality::refreshWhenBack()
{
    if (m_waitingForDatabase) // once, however often it was queried meanwhile
        return;
    m_waitingForDatabase = true;
    Journal::whenDatabaseBack(this, [this] {
        m_waitingForDatabase = false;
        reload();
    });
}

void frmQuality::buildCharts()
{
    QString why;
    m_charts =
        loadQualityCharts(this,
                          {[this](const QString& defect) { touchDefect(defect); },
                           [this](const QDate& day, const QString& grade) { touchDay(day, grade); },
                           [this] { clearTouch(); }},
                          &why);
    if (!m_charts) {
        // Figures and tables still work; where the charts would be, the office reads why not.
        auto* missing = new QLabel(u"图表无法显示，缺少图表模块 "_s + why, this);
        missing->setObjectName(u"labChartsMissing"_s);
        missing->setWordWrap(true);
        missing->setAlignment(Qt::AlignCenter);
        placeTwips(missing, QRect(120, ChartTop, 7500, ChartHeight));
        return;
    }
    placeTwips(m_charts->pareto(), QRect(120, ChartTop, 7500, ChartHeight));
    placeTwips(m_charts->grades(), QRect(7740, ChartTop, 7500, ChartHeight));
    placeTwips(m_charts->points(), QRect(120, ChartTop + ChartHeight + 120, 7500, ChartHeight));
}

void frmQuality::showOverview(const QualityData::Overview& o)
{
    m_overview = o;
    const QList<QualityText::Figure> figures =
        QualityText::figures(o.now, o.before, o.filter.defect);
    for (int i = 0; i < figures.size(); ++i) {
        labFigure[i]->setText(figures[i].caption);
        labFigureNow[i]->setText(figures[i].now);
        labFigureBefore[i]->setText(u"上期 "_s + figures[i].before + u"  "_s + figures[i].change);
        // Green when the change is good for the mill, red when bad. A palette, not a style
        // sheet: a label under a style sheet stops taking the window's type size.
        QPalette pal = palette();
        if (figures[i].verdict != 0)
            pal.setColor(QPalette::WindowText, figures[i].verdict > 0 ? QColor(0x2e, 0x7d, 0x32)
                                                                      : QColor(0xc6, 0x28, 0x28));
        labFigureBefore[i]->setPalette(pal);
    }
    if (m_charts)
        m_charts->show(o, m_grades);
    showTables(o);
    lab_status->setText(o.now.rolls > 0
                            ? u"共 %1 卷  "_s.arg(o.now.rolls) + QualityText::filterText(o.filter)
                            : u"所选范围内没有验布记录  "_s + QualityText::filterText(o.filter));
    QStringList touched;
    if (!m_touch.defect.isEmpty())
        touched << u"疵点 "_s + m_touch.defect;
    if (m_touch.day.isValid())
        touched << m_touch.day.toString(Qt::ISODate);
    if (!m_touch.grade.isEmpty())
        touched << m_touch.grade;
    labTouched->setText(touched.isEmpty() ? u"点柱子可筛选其它图表"_s
                                          : u"已选："_s + touched.join(u"，"_s));
    cmdClear->setEnabled(!touched.isEmpty());
}

void frmQuality::showTables(const QualityData::Overview& o)
{
    auto fill = [&](QTableWidget* t, const QList<QualityData::Group>& groups, bool inspector) {
        const QStringList header = QualityText::groupHeader(inspector, o.filter.defect);
        t->clear();
        t->setColumnCount(int(header.size()));
        t->setHorizontalHeaderLabels(header);
        t->setRowCount(int(groups.size()));
        for (int r = 0; r < groups.size(); ++r) {
            const QStringList cells = QualityText::groupRow(groups[r], inspector);
            for (int c = 0; c < cells.size(); ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                item->setTextAlignment(c < (inspector ? 2 : 1) ? Qt::AlignLeft | Qt::AlignVCenter
                                                               : Qt::AlignRight | Qt::AlignVCenter);
                t->setItem(r, c, item);
            }
        }
        fitColumns(t, tabTables->width());
    };
    fill(gridMachine, o.machines, false);
    fill(gridInspector, o.inspectors, true);
}

void frmQuality::touchDefect(const QString& defect)
{
    m_touch.defect = m_touch.defect == defect ? QString() : defect;
    reload();
}

void frmQuality::touchDay(const QDate& day, const QString& grade)
{
    const bool same = m_touch.day == day && m_touch.grade == grade;
    m_touch.day = same ? QDate() : day;
    m_touch.grade = same ? QString() : grade;
    reload();
}

void frmQuality::clearTouch()
{
    m_touch = QualitySql::Filter();
    reload();
}

void frmQuality::openPicker(QLineEdit* target, const QString& column)
{
    QStringList values;
    try {
        const QualitySql::Query q = QualitySql::pickValues(filter(), column.isEmpty());
        for (Recordset rs = Database::conn().execute(q.text, q.params); !rs.eof(); rs.moveNext())
            values << rs.text(0);
    } catch (const DbError& e) {
        MessageBox::show(u"查询失败："_s + e.message(), MessageBox::Critical, MessageBox::Ok,
                         QString(), this);
        return;
    }
    picker->clearBtn();
    for (const QString& v : values)
        picker->setNumber(v);
    picker->setTextBox(target);
    QPoint at = target->geometry().bottomLeft();
    at.setX(qMin(at.x(), qMax(0, width() - picker->width())));
    at.setY(qMin(at.y(), qMax(0, height() - picker->height())));
    picker->move(at);
}

void frmQuality::applyFonts()
{
    const Twips tw = Twips::of(this);
    QFont f = font();
    f.setPointSizeF(tw.font(10));
    setFont(f);
    QFont big = f;
    big.setPointSizeF(tw.font(18));
    big.setBold(true);
    for (QLabel* l : labFigureNow)
        l->setFont(big);
    QFont query = f;
    query.setPointSizeF(tw.font(14));
    query.setBold(true);
    cmdQuery->setFont(query);
    for (QTableWidget* t : {gridMachine, gridInspector}) {
        t->setFont(f);
        t->horizontalHeader()->setFont(f);
    }
    if (m_charts)
        m_charts->setFontPoints(tw.font(9));
}

void frmQuality::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayoutTwips(this);
    applyFonts();
    showTables(m_overview);
}

void frmQuality::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F5)
        query();
    else if (event->key() == Qt::Key_F11)
        ScreenMode::toggle(this);
    else if (event->key() == Qt::Key_Escape)
        clearTouch();
    else
        QWidget::keyPressEvent(event);
}
