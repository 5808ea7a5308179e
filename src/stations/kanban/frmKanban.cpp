// The stock board's window: controls, tick, data load, layout, menu and settings frame.
#include "stations/kanban/frmKanban.h"

#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "screen/Twips.h"
#include "stations/kanban/KanbanColumns.h"
#include "stations/kanban/KanbanSettings.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/ScreenMode.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDebug>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

using KanbanSettings::Stale;

namespace {

// The settings frame's boxes: the kanban.ini key each one edits, and its caption.
struct SettingBox {
    const char16_t* key;
    const char16_t* caption;
};
constexpr SettingBox settingBoxes[] = {
    {u"库存看板", u"看板标题"}, {u"时间间隔", u"时间间隔(毫秒)"}, {u"fontSize", u"字体大小"},
    {u"看板SQL", u"看板SQL"},   {u"跑马灯内容", u"跑马灯内容"},
};

// The longest clock text, so that the scrolling line starts at the same place all day.
const QString widestClock = u"时间:26-12-31 星期三 23:59:59"_s;

QFont pointFont(const QFont& base, double points, bool bold = false)
{
    QFont f = base;
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

frmKanban::frmKanban(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"frmKanban"_s);
    setWindowTitle(u"库存看板"_s);
    buildControls();
    buildSettingsFrame();
}

frmKanban::~frmKanban() = default;

void frmKanban::buildControls()
{
    setAutoFillBackground(true);
    const char16_t* names[] = {u"标题", u"时钟", u"跑马灯"};
    for (int i = 0; i < 3; ++i) {
        lab_info[i] = new QLabel(this);
        lab_info[i]->setObjectName(u"lab_info_%1"_s.arg(i));
        lab_info[i]->setAccessibleName(QString::fromUtf16(names[i]));
        lab_info[i]->installEventFilter(this);
    }
    lab_info[Title]->setAlignment(Qt::AlignCenter);
    lab_info[Clock]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lab_info[Marquee]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    pGrid = new EditGrid(this);
    pGrid->setObjectName(u"pGrid"_s);
    pGrid->setAccessibleName(u"库存"_s);
    pGrid->table()->viewport()->installEventFilter(this);
    pGrid->table()->horizontalHeader()->viewport()->installEventFilter(this);
    pGrid->table()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Nobody scrolls a wall board: the tick moves the rows, and every column is on the board.
    pGrid->table()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pGrid->table()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Widths stored on the board stay as they were, also narrower than the header would make
    // a column for the large type.
    pGrid->table()->horizontalHeader()->setMinimumSectionSize(8);

    // Stale data must be told from fresh data across the warehouse.
    labOffline = new QLabel(this);
    labOffline->setObjectName(u"labOffline"_s);
    labOffline->setAlignment(Qt::AlignCenter);
    labOffline->setStyleSheet(u"background:#c00000;color:white;"_s);
    labOffline->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    connect(Timer1, &QTimer::timeout, this, &frmKanban::tick);

    MainMenu = new QMenu(this);
    MainMenu->setObjectName(u"MainMenu"_s);
    full = MainMenu->addAction(u"退出全屏"_s);
    full->setObjectName(u"full"_s);
    setting = MainMenu->addAction(u"设置"_s);
    setting->setObjectName(u"setting"_s);
    connect(full, &QAction::triggered, this, &frmKanban::toggleFullScreen);
    connect(setting, &QAction::triggered, this, &frmKanban::showSettings);
}

void frmKanban::buildSettingsFrame()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(u"Frame1"_s);
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setAutoFillBackground(true);
    for (int i = 0; i < 5; ++i) {
        lab_set[i] = new QLabel(QString::fromUtf16(settingBoxes[i].caption), Frame1);
        lab_set[i]->setObjectName(u"lab_set_%1"_s.arg(i));
        txt_set[i] = new QLineEdit(Frame1);
        txt_set[i]->setObjectName(u"txt_set_%1"_s.arg(i));
        txt_set[i]->setProperty("tag", QString::fromUtf16(settingBoxes[i].key));
        txt_set[i]->setAccessibleName(lab_set[i]->text());
        lab_set[i]->setBuddy(txt_set[i]);
    }
    setBut = new QPushButton(u"保存"_s, Frame1);
    setBut->setObjectName(u"setBut"_s);
    setBut->setAccessibleName(setBut->text());
    connect(setBut, &QPushButton::clicked, this, &frmKanban::saveSettings);
    connect(txt_set[MarqueeSetting], &QLineEdit::returnPressed, setBut, &QPushButton::click);
    Frame1->hide();
}

void frmKanban::Form_Load()
{
    Frame1->hide();
    Database::openConnection();
    m_fontSize = KanbanSettings::fontSize();
    // The board's type first: the data load sizes the columns for the type they are shown in.
    applyFonts();
    loadData();
    const QStringList widths =
        KanbanSettings::read(KanbanSettings::widthsKey(), QString()).split(u',');
    // A width list written for another query does not fit the columns and is left alone.
    if (vb::arrayUpperBound(widths.join(u',')) == pGrid->cols() - 1) {
        for (int col = 0; col < pGrid->cols(); ++col)
            m_storedWidths << int(vb::Val(widths[col]));
        for (int col = 1; col < pGrid->cols(); ++col)
            pGrid->setColAlignment(col, EditGrid::AlignLeftCenter);
    }
    m_loaded = true;
    layoutForm();
    Timer1->start();
}

void frmKanban::tick()
{
    ++m_currentRow;
    const bool wrapped = m_currentRow >= pGrid->rows();
    if (wrapped)
        m_currentRow = 1;
    const bool retry = m_offlineSince.isValid() &&
                       m_lastTry.msecsTo(QDateTime::currentDateTime()) >= retryPause();
    if ((wrapped && !m_offlineSince.isValid()) || retry) {
        loadData();
        if (m_currentRow >= pGrid->rows())
            m_currentRow = 1;
    }
    pGrid->setTopRow(m_currentRow);
    pGrid->setRow(m_currentRow);
    lab_info[Clock]->setText(KanbanSettings::clockText(QDateTime::currentDateTime()));
    lab_info[Marquee]->setText(KanbanSettings::rotated(lab_info[Marquee]->text()));
}

bool frmKanban::loadData()
{
    Connection& c = Database::conn();
    try {
        // A connection lost at start-up or on the way is opened again here, on the board's
        // own rhythm, without a dialog nobody at the wall would answer.
        if (!c.isOpen())
            c.open(Database::connectionSetting());
        const Recordset rs = c.query(KanbanSettings::sql());
        pGrid->bindRecordset(rs);
    } catch (const DbError& e) {
        markOffline(e.message(), e.isReadOnlyRefusal()                  ? Stale::QueryWrites
                                 : e.connectionLost() || !c.isOpen() ? Stale::DatabaseAway
                                                                     : Stale::QueryFailed);
        return false;
    }
    // At load the grid has no place on the board yet; the layout fits the columns then.
    if (m_loaded)
        fitColumns();
    setRowHeights();
    markOnline();
    return true;
}

void frmKanban::setRowHeights()
{
    // The header and the first two rows; after the grid's type was set, which sizes all rows.
    for (int row = 0; row <= 2; ++row)
        pGrid->setRowHeight(row, m_fontSize * 30);
}

void frmKanban::fitColumns()
{
    QTableWidget* table = pGrid->table();
    // Known at once, also while the grid's own layout has not followed its new size yet.
    const int room = pGrid->width() - 2 * table->frameWidth();
    const int cols = pGrid->cols();
    // Stored widths are those of the board's full type; in a smaller type they shrink with it.
    const double storedPx = Twips::of(this).scaleX() / 15;
    // The columns follow the board's large type, captions and values, and are at least as wide
    // as stored. When they do not all fit, the grid's type gets smaller (to three quarters of its
    // size at most) before the widest texts are cut.
    const double smallest = m_fontSize * 0.75;
    double points = m_fontSize;
    // Stored widths that fill the room start from the type they were stored in, so that every
    // start finds the same type again. Types go in tenths of a point.
    double stored = 0;
    for (int w : std::as_const(m_storedWidths))
        stored += w * storedPx;
    if (stored > 0)
        points = std::clamp(std::round(m_fontSize * room / stored * 10) / 10, smallest,
                            double(m_fontSize));
    QVector<int> widths(cols);
    for (int round = 0; round < 6; ++round) {
        pGrid->setFontSize(points);
        table->resizeColumnsToContents();
        double need = 0;
        for (int col = 0; col < cols; ++col) {
            const double kept = m_storedWidths.value(col, -1) * storedPx * points / m_fontSize;
            const bool hidden = m_storedWidths.value(col, -1) == 0;
            table->setColumnHidden(col, hidden);
            const double w = hidden ? 0 : std::max<double>(table->columnWidth(col), kept);
            widths[col] = int(std::ceil(w - 0.5));
            need += w;
        }
        // Half a pixel a column is the rounding of widths stored in twips, not a lack of room.
        if (need <= room + cols / 2.0 || points <= smallest)
            break;
        points = std::max(smallest, std::floor(points * room / need * 10) / 10);
    }
    // A cut column keeps at least its caption's width.
    const QFontMetrics header(table->horizontalHeader()->font());
    int caption = 0;
    for (int col = 0; col < cols; ++col)
        caption = std::max(caption, header.horizontalAdvance(pGrid->textMatrix(0, col)) + 16);
    widths = KanbanColumns::fit(widths, room, caption);
    for (int col = 0; col < widths.size(); ++col)
        if (widths[col] > 0)
            table->setColumnWidth(col, widths[col]);
}

void frmKanban::markOffline(const QString& reason, Stale why)
{
    ++m_failures;
    m_lastTry = QDateTime::currentDateTime();
    if (!m_offlineSince.isValid()) {
        m_offlineSince = QDateTime::currentDateTime();
        // Once per outage: a board left offline over a weekend must not fill the log.
        qWarning().noquote() << "frmKanban: stock not read:" << reason;
    }
    labOffline->setText(KanbanSettings::offlineText(m_offlineSince, why));
    labOffline->setToolTip(reason);
    labOffline->show();
    labOffline->raise();
    placeTitle();
}

void frmKanban::markOnline()
{
    m_failures = 0;
    m_offlineSince = QDateTime();
    labOffline->hide();
    placeTitle();
}

void frmKanban::placeTitle()
{
    // The title is centred on the board; a title long enough to run under the stale mark moves
    // left of it while the mark is up, in a smaller type when it is wider than the room there.
    QFont type = pointFont(font(), Twips::of(this).font(m_fontSize + 10), true);
    QRect r(0, lab_info[Title]->y(), width(), lab_info[Title]->height());
    const int text = QFontMetrics(type).horizontalAdvance(lab_info[Title]->text());
    if (!labOffline->isHidden() && (r.width() + text) / 2 > labOffline->x()) {
        r.setRight(labOffline->x() - 1);
        if (text > r.width())
            type.setPointSizeF(type.pointSizeF() * r.width() / text * 0.95);
    }
    lab_info[Title]->setFont(type);
    lab_info[Title]->setGeometry(r);
}

void frmKanban::applyFonts()
{
    const Twips tw = Twips::of(this);
    lab_info[Title]->setFont(pointFont(font(), tw.font(m_fontSize + 10), true));
    lab_info[Clock]->setFont(pointFont(font(), tw.font(m_fontSize)));
    lab_info[Marquee]->setFont(pointFont(font(), tw.font(m_fontSize)));
    labOffline->setFont(pointFont(font(), tw.font(std::max(12, m_fontSize / 2)), true));
    // Read at the board, not from across the hall, but larger than a desk's menu.
    MainMenu->setFont(pointFont(font(), tw.font(std::max(14, m_fontSize / 2))));
    pGrid->setTwips(tw);
    pGrid->setFontSize(m_fontSize);
    const QFont frameFont = pointFont(font(), tw.font(14));
    for (QWidget* w : Frame1->findChildren<QWidget*>())
        w->setFont(frameFont);
}

void frmKanban::layoutForm()
{
    if (!m_loaded)
        return;
    tick();
    const Twips tw = Twips::of(this);
    applyFonts();
    const int W = tw.toTwipsX(width());
    const int H = tw.toTwipsY(height());
    const int titleHeight = tw.toTwipsY(lab_info[Title]->fontMetrics().height() * 5 / 4);
    lab_info[Title]->setGeometry(tw.rect(0, 120, W, titleHeight));
    lab_info[Title]->setText(KanbanSettings::title());
    Timer1->setInterval(KanbanSettings::interval());

    const int clockHeight = tw.toTwipsY(lab_info[Clock]->fontMetrics().height() * 5 / 4);
    const int clockWidth =
        tw.toTwipsX(lab_info[Clock]->fontMetrics().horizontalAdvance(widestClock)) + 120;
    lab_info[Clock]->setGeometry(tw.rect(120, H - 1200, clockWidth, clockHeight));
    lab_info[Marquee]->setGeometry(
        tw.rect(clockWidth + 320, H - 1200, W - clockWidth - 320, clockHeight));
    lab_info[Marquee]->setText(u' ' + KanbanSettings::read(KanbanSettings::marqueeKey(), u" "_s));

    const int gridTop = 120 + titleHeight + 60;
    pGrid->setGeometry(tw.rect(0, gridTop, W, std::max(600, H - gridTop - clockHeight - 800)));
    fitColumns();
    setRowHeights();
    // The rows changed height under the tick's scrolling: the top row whole again.
    pGrid->setTopRow(m_currentRow);

    // As wide as the widest of the marks, the database away or the query refused.
    const QDateTime now = QDateTime::currentDateTime();
    int markText = 0;
    for (Stale why : {Stale::DatabaseAway, Stale::QueryFailed, Stale::QueryWrites})
        markText = std::max(markText, labOffline->fontMetrics().horizontalAdvance(
                                          KanbanSettings::offlineText(now, why)));
    const int markWidth = tw.toTwipsX(markText) + 400;
    labOffline->setGeometry(tw.rect(W - markWidth - 120, 120 + titleHeight - 60 - titleHeight / 2,
                                    markWidth, titleHeight / 2));
    placeTitle();
    placeSettingsFrame();
}

void frmKanban::placeSettingsFrame()
{
    const Twips tw = Twips::of(this);
    Frame1->setGeometry(tw.rect(1500, 1500, 12360, 6600));
    for (int i = 0; i < 5; ++i) {
        lab_set[i]->setGeometry(tw.rect(300, 500 + i * 1000, 2900, 700));
        txt_set[i]->setGeometry(tw.rect(3300, 500 + i * 1000, 8700, 700));
    }
    setBut->setGeometry(tw.rect(9800, 5600, 2200, 700));
}

void frmKanban::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutForm();
}

void frmKanban::showSettings()
{
    // The query runs on the mill's database: only who knows the stations' access code edits it.
    const std::optional<QString> code =
        MessageBox::passwordBox(u"请输入密码："_s, u"看板设置"_s, this);
    if (!code)
        return;
    if (*code != Database::getDbInfo(u"checkpassword"_s, u"5862"_s)) {
        MessageBox::show(u"密码错了,请重新输入"_s, MessageBox::Critical, MessageBox::Ok, QString(),
                         this);
        return;
    }
    Frame1->show();
    Frame1->raise();
    Timer1->stop();
    for (QLineEdit* box : txt_set)
        box->setText(KanbanSettings::read(box->property("tag").toString(), QString()));
    txt_set[TitleSetting]->setFocus();
}

void frmKanban::saveSettings()
{
    for (QLineEdit* box : txt_set) {
        QString error;
        if (!KanbanSettings::write(box->property("tag").toString(), box->text(), &error)) {
            // The frame stays open with what was typed, so nothing is lost.
            MessageBox::show(u"看板设置保存失败："_s + error, MessageBox::Critical, MessageBox::Ok,
                             QString(), this);
            return;
        }
    }
    Frame1->hide();
    Timer1->start();
    layoutForm();
}

void frmKanban::toggleFullScreen()
{
    const bool nowFull = ScreenMode::toggle(this);
    full->setText(nowFull ? u"退出全屏"_s : u"全屏显示"_s);
}

void frmKanban::openMenu(const QPoint& globalPos)
{
    full->setText(ScreenMode::isFullScreen(this) ? u"退出全屏"_s : u"全屏显示"_s);
    MainMenu->popup(globalPos);
}

void frmKanban::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        openMenu(event->globalPosition().toPoint());
    QWidget::mouseReleaseEvent(event);
}

void frmKanban::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse opens the menu on release (above); the menu key opens it here.
    if (event->reason() == QContextMenuEvent::Keyboard)
        openMenu(mapToGlobal(rect().center()));
}

bool frmKanban::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        openMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmKanban::closeEvent(QCloseEvent* event)
{
    storeWidths();
    QWidget::closeEvent(event);
}

void frmKanban::storeWidths()
{
    if (!m_loaded)
        return;
    // Stored for the board's full type: a board that had to make its type smaller to fit the
    // wall would otherwise come back next time with columns too narrow for the full type.
    QStringList widths;
    for (int col = 0; col < pGrid->cols(); ++col)
        widths << QString::number(qRound(pGrid->colWidth(col) * m_fontSize / pGrid->fontSize()));
    KanbanSettings::write(KanbanSettings::widthsKey(), widths.join(u','));
}
