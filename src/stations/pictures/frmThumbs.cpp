// The picture browser's logic: item lookup and stepping, thumbnails, slide show, labels,
// folder browsing and the window's remembered place.
#include "stations/pictures/frmThumbs.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/Profile.h"
#include "shell/SysUtil.h"
#include "screen/Twips.h"
#include "stations/pictures/ItemPictures.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/ThumbnailBuilder.h"
#include "stations/pictures/ThumbsSql.h"
#include "text/Vb.h"
#include "widgets/ScreenMode.h"
#include "stations/pictures/ThumbsFields.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString mainSection = u"Main"_s;
const QString notFound = u"没有这个样品编码"_s;

qint64 firstNumber(const QString& sql)
{
    const Recordset rs = Database::conn().execute(sql);
    return Database::hasRecords(rs) ? qint64(rs.field(0).toDouble()) : 0;
}

} // namespace

frmThumbs::frmThumbs(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"frmThumbs"_s);
    setWindowTitle(u"商品图片"_s);
    setAutoFillBackground(true);
    buildControls();
    builder = new ThumbnailBuilder(this);
    connectControls();
}

frmThumbs::~frmThumbs() = default;

void frmThumbs::connectControls()
{
    connect(Command1, &QPushButton::clicked, this, [this] { findItemByCode(barcode->text()); });
    connect(barcode, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    for (int i = 0; i < 4; ++i)
        connect(butFlow[i], &QPushButton::clicked, this, [this, i] { runFlow(i); });
    connect(autoPlay, &QCheckBox::toggled, this, [this](bool on) {
        on ? Timer1->start() : Timer1->stop();
        layoutForm();
    });
    connect(Timer1, &QTimer::timeout, this, &frmThumbs::slideTick);
    connect(Check1, &QCheckBox::clicked, this, &frmThumbs::toggleScreenMode);
    connect(tools[u"Browse"_s], &QToolButton::clicked, this, [this] { browseFolder(); });
    connect(tools[u"Edit"_s], &QToolButton::clicked, this, &frmThumbs::editPicture);
    connect(tools[u"Refresh"_s], &QToolButton::clicked, this, &frmThumbs::buildThumbnails);
    connect(tools[u"Exit"_s], &QToolButton::clicked, this, &QWidget::close);
    connect(picBig, &PictureBox::doubleClicked, this, &frmThumbs::editPicture);
    connect(strip, &ThumbStrip::selected, this, &frmThumbs::thumbnailSelected);
    connect(strip, &ThumbStrip::activated, this, &frmThumbs::editPicture);
    connect(builder, &ThumbnailBuilder::thumbnailsReady, strip, &ThumbStrip::addThumbs);
    connect(builder, &ThumbnailBuilder::listed, this, [this](int files) {
        sbrPanel1->setText(u"%1 个文件"_s.arg(files));
        progress->setRange(0, std::max(1, files));
    });
    connect(builder, &ThumbnailBuilder::progress, this, [this](int done, int total) {
        progress->setMaximum(total);
        progress->setValue(done);
    });
    connect(builder, &ThumbnailBuilder::finished, strip, &ThumbStrip::endOfThumbs);
    connect(strip, &ThumbStrip::thumbsShown, this, &frmThumbs::thumbsFinished);
    connect(Modle1, &QMenu::triggered, this, [this](QAction* a) {
        SysUtil::saveSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, u"item"_s,
                             a->text());
        PrintBill(a->text(), currentItemId(), isPrintreview->isChecked());
    });
}

void frmThumbs::Form_Load()
{
    restoreWindowState();
    m_rememberedItem = qint64(vb::Val(basThumbs::readProfile(mainSection, u"ItemId"_s, u"0"_s)));
    m_connected = Database::openConnection();
    applyDbInfoCaptions();
    layoutForm();
}

void frmThumbs::applyDbInfoCaptions()
{
    for (QLabel* label : findChildren<QLabel*>()) {
        const QString tag = label->property("tag").toString();
        if (tag.startsWith(u"Label"))
            label->setText(Database::getDbInfo(tag, label->text()));
    }
}

void frmThumbs::restoreWindowState()
{
    const QStringList parts =
        basThumbs::readProfile(mainSection, u"Window Position"_s, QString()).split(u", "_s);
    const int px = 15; // the stored twips of a 96-dpi screen
    const QRect r = parts.size() == 4
                        ? QRect(int(vb::Val(parts[0])) / px, int(vb::Val(parts[1])) / px,
                                int(vb::Val(parts[2])) / px, int(vb::Val(parts[3])) / px)
                        : QRect();
    if (r.width() > 100 && r.height() > 100)
        setGeometry(r);
    else // the panel the browsers were laid out for, with room for the pictures and drawings
        resize(Twips::DesignWidth / px, Twips::DesignHeight / px);
    if (basThumbs::readProfile(mainSection, u"Maximized"_s, u"False"_s)
            .compare(u"True"_s, Qt::CaseInsensitive) == 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void frmThumbs::storeWindowState()
{
    const bool maximized = isMaximized() || ScreenMode::isFullScreen(this);
    if (!maximized) {
        const QRect r = geometry();
        basThumbs::writeProfile(mainSection, u"Window Position"_s,
                                u"%1, %2, %3, %4"_s.arg(r.x() * 15)
                                    .arg(r.y() * 15)
                                    .arg(r.width() * 15)
                                    .arg(r.height() * 15));
    }
    basThumbs::writeProfile(mainSection, u"Maximized"_s, maximized ? u"True"_s : u"False"_s);
    basThumbs::writeProfile(mainSection, u"ItemId"_s, QString::number(m_rememberedItem));
}

void frmThumbs::firstActivation()
{
    if (m_activated)
        return;
    m_activated = true;
    strip->hide();
    browseFolder(basThumbs::readProfile(mainSection, lastPathKey(), defaultLastPath()));
    // Started while the database is away: "数据库连接失败" was said; the last item comes up when
    // the database answers, not as a second message about a connection that is not open.
    if (m_rememberedItem > 0 && m_connected)
        showItem(m_rememberedItem);
    else if (m_rememberedItem > 0)
        Journal::whenDatabaseBack(this, [this] {
            if (currentItemId() == 0)
                showItem(m_rememberedItem, true);
        });
    // A trial window of a given size (screenshots, commissioning) keeps that size.
    if (!qEnvironmentVariableIsSet("MIREL_WINDOW_SIZE"))
        toggleScreenMode();
}

QString frmThumbs::defaultLastPath() const
{
    return u"C:\\"_s;
}

QString frmThumbs::lastPathKey() const
{
    return u"Last Path"_s;
}

qint64 frmThumbs::currentItemId() const
{
    return qint64(vb::Val(txtUser[ThumbsField::Name]->property("tag").toString()));
}

QString frmThumbs::itemTemplate()
{
    return SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, u"item"_s,
                               u"条形码"_s);
}

void frmThumbs::findItemByCode(const QString& code)
{
    qint64 id = 0;
    try {
        id = firstNumber(ThumbsSql::findByCode(code));
    } catch (const DbError& e) {
        // The code may well exist: the database's own word, and the item shown stays current.
        MessageBox::show(e.message(), MessageBox::Critical, MessageBox::Ok, QString(), this);
        barcode->setFocus();
        barcode->selectAll();
        return;
    }
    if (id > 0) {
        showItem(id);
    } else {
        MessageBox::show(notFound, MessageBox::Critical, MessageBox::Ok, QString(), this);
        txtUser[ThumbsField::Name]->setProperty("tag", u"0"_s);
    }
    // Ready for the next scan.
    barcode->setFocus();
    barcode->selectAll();
    if (autoPrint->isChecked() && currentItemId() > 0)
        printCurrent();
}

bool frmThumbs::showItem(qint64 id, bool quiet)
{
    Recordset rs;
    try {
        rs = Database::conn().execute(ThumbsSql::itemQuery(id));
    } catch (const DbError& e) {
        if (quiet)
            sbrPanel1->setText(e.message());
        else
            MessageBox::show(e.message(), MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    if (!Database::hasRecords(rs)) {
        if (!quiet)
            MessageBox::show(notFound, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    for (const ThumbsSql::ItemField& field : ThumbsSql::itemFields())
        txtUser[field.index]->setText(rs.text(QString::fromUtf16(field.column)));
    txtUser[ThumbsField::Name]->setProperty("tag", QString::number(id));
    m_rememberedItem = id;
    picBig->setProperty("tag", ItemPictures::exportItemPicture(id));
    itemShown();
    return true;
}

void frmThumbs::itemShown()
{
    const QString folder = ItemPictures::folderOf(picBig->property("tag").toString());
    m_folder = folder.isEmpty() ? ProgramFolder::systemPath(u"c:\\"_s) : folder;
    buildThumbnails();
}

qint64 frmThumbs::stepItem(qint64 id, bool upward)
{
    qint64 next = firstNumber(ThumbsSql::stepQuery(id, upward));
    if (next == 0)
        next = firstNumber(ThumbsSql::wrapQuery(upward));
    return next;
}

void frmThumbs::runFlow(int index)
{
    switch (index) {
    case ThumbsCmd::Previous:
    case ThumbsCmd::Next:
        try {
            const qint64 next = stepItem(currentItemId(), index == ThumbsCmd::Previous);
            if (next > 0)
                showItem(next);
        } catch (const DbError& e) {
            MessageBox::show(e.message(), MessageBox::Critical, MessageBox::Ok, QString(), this);
        }
        break;
    case ThumbsCmd::Print:
        printCurrent();
        break;
    case ThumbsCmd::Template:
        fillTemplateMenu();
        Modle1->popup(butFlow[ThumbsCmd::Template]->mapToGlobal(QPoint(0, butFlow[ThumbsCmd::Template]->height())));
        break;
    default:
        break;
    }
}

void frmThumbs::slideTick()
{
    if (!autoPlay->isChecked())
        return;
    // The show steps as "后个" does, but walks on past stopped and missing items without a
    // word: nobody stands at a running show to answer a message, and it would come every round.
    QSet<qint64> seen{currentItemId()};
    try {
        for (qint64 id = currentItemId();;) {
            id = stepItem(id, false);
            if (id <= 0 || seen.contains(id) || showItem(id, true))
                return;
            seen.insert(id);
        }
    } catch (const DbError& e) {
        sbrPanel1->setText(e.message()); // the next tick tries again
    }
}

void frmThumbs::printCurrent()
{
    const qint64 id = currentItemId();
    if (id < 1)
        return;
    PrintBill(itemTemplate(), id, isPrintreview->isChecked());
}

void frmThumbs::PrintBill(const QString& templateName, qint64 id, bool preview)
{
    printLabel(ProgramFolder::file(u"\\打印\\商品\\"_s + templateName + u".grf"_s), id, preview, 1,
               u"PrintBill发生错误"_s);
}

void frmThumbs::fillTemplateMenu()
{
    Modle1->clear();
    const QDir dir(ProgramFolder::file(u"\\打印\\商品"_s));
    if (!dir.exists()) {
        Modle1->addAction(u"bill"_s);
        return;
    }
    for (const QString& file : dir.entryList({u"*.grf"_s}, QDir::Files, QDir::Name))
        Modle1->addAction(QFileInfo(file).completeBaseName());
}

bool frmThumbs::browseFolder(const QString& chosen)
{
    const QString lastPath = basThumbs::readProfile(mainSection, lastPathKey(), defaultLastPath());
    QString folder = chosen;
    if (folder.isEmpty()) {
        folder = MessageBox::folderName(u"选择一个目录"_s, ItemPictures::localPath(lastPath), this);
        if (folder.isEmpty())
            return false;
    }
    const QString local = ItemPictures::localPath(folder);
    // A folder that cannot be read leaves the old thumbnails and the stored path as they were.
    if (!QDir(local).exists() || !QDir(local).isReadable())
        return false;
    m_folder = local;
    buildThumbnails();
    basThumbs::writeProfile(mainSection, lastPathKey(), folder);
    return true;
}

void frmThumbs::buildThumbnails()
{
    strip->clear();
    strip->show();
    m_selectedFile.clear();
    sbrPanel1->clear();
    progress->setRange(0, 1);
    progress->setValue(0);
    progress->show();
    setCursor(Qt::BusyCursor);
    builder->start(m_folder, strip->boxSize(), palette().color(QPalette::Button));
}

void frmThumbs::thumbsFinished()
{
    progress->hide();
    unsetCursor();
    strip->select(0);
    emit thumbnailsBuilt();
}

QString frmThumbs::noteSelection(const QString& fileName)
{
    m_selectedFile = fileName;
    const QString path = QDir(m_folder).filePath(fileName);
    sbrPanel2->setText(QDir::toNativeSeparators(path));
    return path;
}

void frmThumbs::thumbnailSelected(const QString& fileName)
{
    picBig->loadFitted(noteSelection(fileName));
}

void frmThumbs::editPicture()
{
    if (m_selectedFile.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(m_folder).filePath(m_selectedFile)));
}

void frmThumbs::toggleScreenMode()
{
    ScreenMode::toggle(this);
}

void frmThumbs::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutForm();
}

void frmThumbs::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_activated)
        QTimer::singleShot(0, this, &frmThumbs::firstActivation);
}

void frmThumbs::closeEvent(QCloseEvent* event)
{
    builder->cancel();
    storeWindowState();
    QWidget::closeEvent(event);
}

bool frmThumbs::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == frameSearch && event->type() == QEvent::MouseButtonDblClick) {
        toggleScreenMode();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
