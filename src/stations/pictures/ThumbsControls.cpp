// The picture browser's controls and their places on the panel.
#include "stations/pictures/frmThumbs.h"

#include "screen/Twips.h"
#include "stations/pictures/PictureBox.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/ThumbsSql.h"
#include "widgets/StatusLine.h"
#include "stations/pictures/ThumbsFields.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

template <typename W>
W* named(W* w, const QString& name, const QString& accessible = QString())
{
    w->setObjectName(name);
    w->setAccessibleName(accessible);
    return w;
}

constexpr int fieldsTop = 2280;
constexpr int fieldRow = 620;

} // namespace

void frmThumbs::buildControls()
{
    buildToolButtons();
    frameSearch = named(new QFrame(this), u"frameSearch"_s, u"查找"_s);
    frameSearch->setFrameShape(QFrame::StyledPanel);
    frameSearch->installEventFilter(this);
    labBarcode = named(new QLabel(u"样品编码"_s, frameSearch), u"labBarcode"_s);
    barcode = named(new QLineEdit(frameSearch), u"barcode"_s, u"样品编码"_s);
    labBarcode->setBuddy(barcode);
    Command1 = named(new QPushButton(u"查询"_s, frameSearch), u"Command1"_s, u"查询"_s);
    const char16_t* flows[] = {u"前个", u"后个", u"打印", u"↓"};
    for (int i = 0; i < 4; ++i)
        butFlow[i] = named(new QPushButton(QString::fromUtf16(flows[i]), frameSearch),
                           u"butFlow_%1"_s.arg(i), QString::fromUtf16(flows[i]));
    butFlow[ThumbsCmd::Template]->setAccessibleName(u"选择标签模板"_s);
    autoPlay = named(new QCheckBox(u"自动播放"_s, frameSearch), u"autoPlay"_s, u"自动播放"_s);
    autoPrint = named(new QCheckBox(u"自动打印"_s, frameSearch), u"autoPrint"_s, u"自动打印"_s);
    isPrintreview =
        named(new QCheckBox(u"打印预览"_s, frameSearch), u"isPrintreview"_s, u"打印预览"_s);
    Check1 = named(new QCheckBox(u"退出全屏"_s, frameSearch), u"Check1"_s, u"退出全屏"_s);
    buildItemFields();

    picBig = named(new PictureBox(this), u"picBig"_s, u"商品图片"_s);
    strip = new ThumbStrip(this);
    sbrMain = named(new QStatusBar(this), u"sbrMain"_s, u"状态栏"_s);
    sbrMain->setSizeGripEnabled(false);
    // Messages and the file's path are as long as they come: cut, whole on touch.
    sbrPanel1 = named(new StatusLine(sbrMain), u"sbrMain_1"_s);
    sbrPanel2 = named(new StatusLine(sbrMain), u"sbrMain_2"_s, u"当前文件"_s);
    progress = named(new QProgressBar(sbrMain), u"progress"_s, u"缩略图进度"_s);
    sbrMain->addWidget(sbrPanel1);
    sbrMain->addWidget(sbrPanel2, 1);
    sbrMain->addPermanentWidget(progress);
    progress->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(6000);
    Modle1 = named(new QMenu(this), u"Modle1"_s, u"标签模板"_s);
}

void frmThumbs::buildItemFields()
{
    for (const ThumbsSql::ItemField& field : ThumbsSql::itemFields()) {
        const QString caption = QString::fromUtf16(field.caption);
        auto* label = named(new QLabel(caption, this), u"labUser_%1"_s.arg(field.index));
        // Per-customer captions of the generic columns come from DBInfo under this tag.
        label->setProperty("tag", u"Label_item_"_s + QString::fromUtf16(field.column));
        auto* box = named(new QLineEdit(this), u"txtUser_%1"_s.arg(field.index), caption);
        box->setReadOnly(true);
        label->setBuddy(box);
        labUser.insert(field.index, label);
        txtUser.insert(field.index, box);
    }
    txtUser[ThumbsField::Name]->setProperty("tag", u"0"_s);
}

void frmThumbs::buildToolButtons()
{
    const struct {
        const char16_t* key;
        const char16_t* caption;
    } keys[] = {{u"Browse", u"浏览"}, {u"Edit", u"打开"}, {u"Refresh", u"刷新"}, {u"Exit", u"退出"}};
    for (const auto& k : keys) {
        const QString key = QString::fromUtf16(k.key);
        auto* b = named(new QToolButton(this), u"tool_"_s + key, QString::fromUtf16(k.caption));
        b->setText(QString::fromUtf16(k.caption));
        b->setProperty("key", key);
        tools.insert(key, b);
    }
}

void frmThumbs::layoutForm()
{
    const Twips tw = Twips::of(this);
    QFont base = font();
    base.setPointSizeF(tw.font(12));
    for (QWidget* w : findChildren<QWidget*>())
        if (w != strip->picSlide() && !strip->picSlide()->isAncestorOf(w))
            w->setFont(base);
    const int W = Twips::DesignWidth;
    const int H = Twips::DesignHeight;
    int left = 120;
    for (const QString& key : {u"Browse"_s, u"Edit"_s, u"Refresh"_s, u"Exit"_s}) {
        tools[key]->setGeometry(tw.rect(left, 60, 1300, 640));
        left += 1380;
    }
    frameSearch->setGeometry(tw.rect(120, 780, W - 240, 1380));
    labBarcode->setGeometry(tw.rect(200, 120, 1300, 560));
    barcode->setGeometry(tw.rect(1560, 120, 3600, 560));
    Command1->setGeometry(tw.rect(5280, 100, 1200, 600));
    for (int i = 0; i < 4; ++i)
        butFlow[i]->setGeometry(tw.rect(6600 + i * 1320, 100, 1200, 600));
    QCheckBox* checks[] = {autoPlay, autoPrint, isPrintreview, Check1};
    for (int i = 0; i < 4; ++i)
        checks[i]->setGeometry(tw.rect(200 + i * 2300, 760, 2200, 520));

    const bool wide = autoPlay->isChecked();
    int row = 0;
    for (auto it = txtUser.cbegin(); it != txtUser.cend(); ++it, ++row) {
        labUser[it.key()]->setGeometry(tw.rect(120, fieldsTop + row * fieldRow, 1500, 540));
        it.value()->setGeometry(tw.rect(1680, fieldsTop + row * fieldRow, 3300, 540));
        labUser[it.key()]->setVisible(!wide);
        it.value()->setVisible(!wide);
    }
    const int sbrHeight = 600;
    const int bottom = H - sbrHeight - 120;
    picBig->setGeometry(wide ? tw.rect(120, fieldsTop, 11940, bottom - fieldsTop)
                             : tw.rect(5160, fieldsTop, 6900, bottom - fieldsTop));
    strip->setGeometry(tw.rect(12180, fieldsTop, W - 12180 - 120, bottom - fieldsTop));
    sbrMain->setGeometry(tw.rect(0, H - sbrHeight, W, sbrHeight));
    progress->setFixedWidth(tw.x(3000));
}
