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
    frameSearch = named(new QFrame(this), QStringLiteral("frameSearch"), QStringLiteral("查找"));
    frameSearch->setFrameShape(QFrame::StyledPanel);
    frameSearch->installEventFilter(this);
    labBarcode = named(new QLabel(QStringLiteral("样品编码"), frameSearch), QStringLiteral("labBarcode"));
    barcode = named(new QLineEdit(frameSearch), QStringLiteral("barcode"), QStringLiteral("样品编码"));
    labBarcode->setBuddy(barcode);
    Command1 = named(new QPushButton(QStringLiteral("查询"), frameSearch), QStringLiteral("Command1"),
                     QStringLiteral("查询"));
    const char16_t* flows[] = {u"前个", u"后个", u"打印", u"↓"};
    for (int i = 0; i < 4; ++i)
        butFlow[i] = named(new QPushButton(QString::fromUtf16(flows[i]), frameSearch),
                           QStringLiteral("butFlow_%1").arg(i), QString::fromUtf16(flows[i]));
    butFlow[ThumbsCmd::Template]->setAccessibleName(QStringLiteral("选择标签模板"));
    autoPlay = named(new QCheckBox(QStringLiteral("自动播放"), frameSearch), QStringLiteral("autoPlay"),
                     QStringLiteral("自动播放"));
    autoPrint = named(new QCheckBox(QStringLiteral("自动打印"), frameSearch), QStringLiteral("autoPrint"),
                      QStringLiteral("自动打印"));
    isPrintreview = named(new QCheckBox(QStringLiteral("打印预览"), frameSearch),
                          QStringLiteral("isPrintreview"), QStringLiteral("打印预览"));
    Check1 = named(new QCheckBox(QStringLiteral("退出全屏"), frameSearch), QStringLiteral("Check1"),
                   QStringLiteral("退出全屏"));
    buildItemFields();

    picBig = named(new PictureBox(this), QStringLiteral("picBig"), QStringLiteral("商品图片"));
    strip = new ThumbStrip(this);
    sbrMain = named(new QStatusBar(this), QStringLiteral("sbrMain"), QStringLiteral("状态栏"));
    sbrMain->setSizeGripEnabled(false);
    // Messages and the file's path are as long as they come: cut, whole on touch.
    sbrPanel1 = named(new StatusLine(sbrMain), QStringLiteral("sbrMain_1"));
    sbrPanel2 = named(new StatusLine(sbrMain), QStringLiteral("sbrMain_2"), QStringLiteral("当前文件"));
    progress = named(new QProgressBar(sbrMain), QStringLiteral("progress"), QStringLiteral("缩略图进度"));
    sbrMain->addWidget(sbrPanel1);
    sbrMain->addWidget(sbrPanel2, 1);
    sbrMain->addPermanentWidget(progress);
    progress->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(6000);
    Modle1 = named(new QMenu(this), QStringLiteral("Modle1"), QStringLiteral("标签模板"));
}

void frmThumbs::buildItemFields()
{
    for (const ThumbsSql::ItemField& field : ThumbsSql::itemFields()) {
        const QString caption = QString::fromUtf16(field.caption);
        auto* label = named(new QLabel(caption, this), QStringLiteral("labUser_%1").arg(field.index));
        // Per-customer captions of the generic columns come from DBInfo under this tag.
        label->setProperty("tag", QStringLiteral("Label_item_") + QString::fromUtf16(field.column));
        auto* box = named(new QLineEdit(this), QStringLiteral("txtUser_%1").arg(field.index), caption);
        box->setReadOnly(true);
        label->setBuddy(box);
        labUser.insert(field.index, label);
        txtUser.insert(field.index, box);
    }
    txtUser[ThumbsField::Name]->setProperty("tag", QStringLiteral("0"));
}

void frmThumbs::buildToolButtons()
{
    const struct {
        const char16_t* key;
        const char16_t* caption;
    } keys[] = {{u"Browse", u"浏览"}, {u"Edit", u"打开"}, {u"Refresh", u"刷新"}, {u"Exit", u"退出"}};
    for (const auto& k : keys) {
        const QString key = QString::fromUtf16(k.key);
        auto* b = named(new QToolButton(this), QStringLiteral("tool_") + key, QString::fromUtf16(k.caption));
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
    for (const QString& key : {QStringLiteral("Browse"), QStringLiteral("Edit"), QStringLiteral("Refresh"),
                               QStringLiteral("Exit")}) {
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
