// Settings panel: each control carries its ini key in its tag; check boxes are written "0"/"1".
#include "stations/inspection/CheckSettingsPanel.h"

#include "config/MirelIni.h"
#include "devices/MeterCorrection.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/CheckSql.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString Mirel = u"MIREL"_s;
const QString MirelIni = u"/mirel.ini"_s;

struct Option {
    const char16_t* caption;
    const char* key;
    bool design; // design-time state
};

const Option CheckOptions[] = {
    {u"清空数量（数量=重量*比例）否则定码,比例无效", "dingma", true},
    {u"启用美标4分制（点击疵点后可以输入扣分）", "nouse", false},
    {u"自动入库(打印标签后自动入库,按仓位,批次号入库）", "Save2Store", false},
    {u"删除/修改 唛头信息（比如打错缸号，除非特别的才需要修改删除）", "DelCheck", true},
    {u"简易模式(卡号可以不用输入）", "RelationBill", false},
    {u"打印标签", "PrintLabel", true},
    {u"选择标签", "SelectLabel", true},
    {u"打印唛头", "PrintLabel2", true},
    {u"上下卷", "NextLabel", true},
    {u"换卷", "TransLabel", true},
    {u"保存", "SaveLabel", true},
    {u"自动算等级\\百平方\\扣数", "autoGrade", false},
    {u"使用挂码", "isGuama", false},
    {u"清空加减", "jiajian", true},
};
const char16_t* const CheckTips[] = {nullptr, nullptr, nullptr, nullptr, nullptr, u"打印标签按钮",
                                     u"选择打印模版的箭头是否能用", u"打印唛头按钮", u"上下卷是否启用",
                                     u"换卷按钮", nullptr, nullptr, nullptr, u"换卷是清空加减=0"};

struct TextOption {
    const char16_t* caption;
    const char* key;
    const char16_t* design;
};

const TextOption TextOptions[] = {
    {u"卷号位数           （几个0代表几位数）", "codeLen", CheckSql::DefaultCodeLen},
    {u"数量(重量)小数点位数           ", "dispFormat", u"0.00"},
    {u"打卷机编号", "menchineId", u"001"},
    {u"billA 一般填码表数字", "biliA", u"1"},
    {u"billB 一般填Senvia码表的数量（重量）", "biliB", u"1"},
    {u"疵点列表，每一个疵点用英文的,逗号分开", "bugs", u""},
    {u"卷号规则            (0=取系统不重复,1=卷号本机+1,-1=本机卷号-1) ", "codeDESC", u"0"},
    {u"标签张数", "pages", u"1"},
};

// The defect pictures: where they come from and where they are kept.
const TextOption PhotoOptions[] = {
    {u"摄像头", "Camera", u""},
    {u"取图时间(秒)", "CameraWindow", u"3"},
    {u"照片文件夹", "PhotoFolder", u""},
    {u"照片保留天数", "PhotoKeepDays", u"30"},
};
// What an empty box means, shown in it; what goes in, its tool tip.
const char16_t* const PhotoHints[] = {u"空=不拍照", nullptr, u"空=程序文件夹里的“照片”", nullptr};
const char16_t* const PhotoTips[] = {
    u"网络摄像头 http://用户:密码@地址/snapshot.jpg；相机放图的文件夹 folder:文件夹；面板上的摄像头 v4l2:/dev/video0",
    u"文件夹相机：按疵点后这几秒内放进文件夹的照片算这个疵点的",
    u"用 SQL Server 的工厂填各机台都能访问的共享文件夹",
    u"删掉的卷和疵点，照片过这么多天再删",
};

struct Required {
    int box;
    const char16_t* caption;
    const char* tip;
    const char* tag;
};

const Required RequiredBoxes[] = {
    {1, u"缸号", "3,3", "Label_item_pibu_batchNo"},   {2, u"克重", "4,4", "Label_item_pibu_gram"},
    {3, u"工号", "1,0", "Label_item_pibu_worker"},    {4, u"款号", "5,5", "Label_item_pibu_style"},
    {5, u"备3", "21,16", "Label_item_pibu_item3"},    {6, u"重量", "19,14", "Label_item_pibu_weight"},
    {7, u"备4", "22,17", "Label_item_pibu_item4"},    {8, u"加减", "20,15", "Label_item_pibu_patch"},
    {9, u"备5", "24,20", "Label_item_pibu_item6"},    {0, u"备6", "25,21", "Label_item_pibu_item7"},
    {10, u"等级", "11,gradeBtn", "Label_item_pibu_grade"}, {11, u"品名", "27,22", "Label_item_pibu_item8"},
    {17, u"数量", "10,7", "Label_item_pibu_mishu"},
};

} // namespace

QList<RequiredField> CheckSettingsPanel::requiredFields()
{
    QList<RequiredField> fields;
    for (const Required& r : RequiredBoxes)
        fields.append({r.box, QString::fromUtf16(r.caption), QString::fromLatin1(r.tip),
                       QString::fromLatin1(r.tag)});
    return fields;
}

CheckSettingsPanel::CheckSettingsPanel(QWidget* form, CheckControls& controls,
                                       const QStringList& captions)
    : QFrame(form), c(controls)
{
    setObjectName(u"Frame3"_s);
    setFrameStyle(QFrame::Box | QFrame::Raised);
    setAutoFillBackground(true);
    setStyleSheet(u"#Frame3{background:#f4f6fa;}"_s);
    placeTwips(this, QRect(600, 520, 14160, 10800));
    hide();
    buildOptions();
    buildRequired(captions);

    m_passwordFrame = new QFrame(form);
    m_passwordFrame->setObjectName(u"passwordFrame"_s);
    m_passwordFrame->setFrameStyle(QFrame::Box);
    m_passwordFrame->setAutoFillBackground(true);
    auto* pl = new QGridLayout(m_passwordFrame);
    auto* prompt = new QLabel(u"密码"_s, m_passwordFrame);
    m_password = new QLineEdit(m_passwordFrame);
    m_password->setObjectName(u"password"_s);
    m_password->setAccessibleName(u"密码"_s);
    m_password->setEchoMode(QLineEdit::Password);
    prompt->setBuddy(m_password);
    pl->addWidget(prompt, 0, 0);
    pl->addWidget(m_password, 0, 1);
    placeTwips(m_passwordFrame, QRect(10560, 520, 4680, 700));
    m_passwordFrame->hide();
    connect(m_password, &QLineEdit::returnPressed, this,
            [this] { checkAccessCode(m_password->text()); });
}

void CheckSettingsPanel::buildOptions()
{
    auto* grid = new QGridLayout(this);
    auto* options = new QGroupBox(u"选项"_s, this);
    auto* ol = new QVBoxLayout(options);
    for (int i = 0; i < int(std::size(CheckOptions)); ++i) {
        auto* box = new QCheckBox(QString::fromUtf16(CheckOptions[i].caption), options);
        box->setObjectName(u"chkConfig_"_s + QString::number(i));
        setTag(box, QString::fromLatin1(CheckOptions[i].key));
        box->setProperty("design", CheckOptions[i].design);
        if (CheckTips[i])
            box->setToolTip(QString::fromUtf16(CheckTips[i]));
        ol->addWidget(box);
        m_check << box;
    }
    // The options and under them the pictures' settings, beside the other columns.
    auto* left = new QVBoxLayout;
    left->addWidget(options, 1);
    grid->addLayout(left, 0, 0, 3, 1);

    // txtConfig_n: its caption before it in group, at row and column.
    const auto addText = [this](QGroupBox* group, const TextOption& option, int row, int col = 0) {
        auto* label = new QLabel(QString::fromUtf16(option.caption).trimmed(), group);
        label->setWordWrap(true);
        auto* box = new QLineEdit(group);
        box->setObjectName(u"txtConfig_"_s + QString::number(m_text.size()));
        box->setAccessibleName(label->text());
        setTag(box, QString::fromLatin1(option.key));
        box->setProperty("design", QString::fromUtf16(option.design));
        label->setBuddy(box);
        static_cast<QGridLayout*>(group->layout())->addWidget(label, row, col);
        static_cast<QGridLayout*>(group->layout())->addWidget(box, row, col + 1);
        m_text << box;
    };
    auto* texts = new QGroupBox(u"参数"_s, this);
    auto* tl = new QGridLayout(texts);
    for (int i = 0; i < int(std::size(TextOptions)); ++i)
        addText(texts, TextOptions[i], i);
    auto* photos = new QGroupBox(u"疵点照片"_s, this);
    photos->setObjectName(u"photoFrame"_s);
    new QGridLayout(photos);
    for (int i = 0; i < int(std::size(PhotoOptions)); ++i) {
        addText(photos, PhotoOptions[i], i / 2, i % 2 * 2);
        m_text.last()->setToolTip(QString::fromUtf16(PhotoTips[i]));
        if (PhotoHints[i])
            m_text.last()->setPlaceholderText(QString::fromUtf16(PhotoHints[i]));
    }
    static_cast<QGridLayout*>(photos->layout())->setColumnStretch(1, 3);
    static_cast<QGridLayout*>(photos->layout())->setColumnStretch(3, 1);
    left->addWidget(photos);
    m_text[1]->setToolTip(u"0=去掉小数点 00=+0.99后去小数点,0.00=四舍五入保留2位小数点"_s);
    m_text[7]->setToolTip(u"可以设置默认的打印张数"_s);
    const struct {
        const char16_t* caption;
        const char* key;
        QStringList values;
    } combos[] = {
        {u"系统不重复卷号种类", "codetype", {u"检验单颜色"_s, u"面料编码"_s, u"缸号"_s}},
        {u"评分方式设置",
         "USASTANDARD",
         {u"关闭评分"_s, u"美标4分制"_s, u"国标10分制"_s, u"日标10分制"_s}},
    };
    int row = int(std::size(TextOptions));
    for (const auto& def : combos) {
        auto* label = new QLabel(QString::fromUtf16(def.caption), texts);
        auto* box = new QComboBox(texts);
        box->setObjectName(u"cmbConfig_"_s + QString::number(m_combo.size()));
        box->setAccessibleName(label->text());
        box->setEditable(true);
        box->addItems(def.values);
        setTag(box, QString::fromLatin1(def.key));
        box->setProperty("design", def.values.first());
        label->setBuddy(box);
        tl->addWidget(label, row, 0);
        tl->addWidget(box, row++, 1);
        m_combo << box;
    }
    m_meterCorrection = new QCheckBox(devices::meterCorrectionCaption(), texts);
    m_meterCorrection->setObjectName(u"Check3"_s);
    m_meterCorrection->setAccessibleName(m_meterCorrection->text());
    tl->addWidget(m_meterCorrection, row++, 0, 1, 2);
    grid->addWidget(texts, 0, 1);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* name;
        const char16_t* caption;
    } bs[] = {{"btnSavePosi_0", u"保存位置"}, {"btnSavePosi_1", u"默认位置"},
              {"configSaveBtn_0", u"取消"}, {"configSaveBtn_1", u"保存"}};
    for (const auto& b : bs) {
        auto* button = new QPushButton(QString::fromUtf16(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAccessibleName(button->text());
        button->setMinimumHeight(44);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 2, 1);
    auto* savePos = findChild<QPushButton*>(u"btnSavePosi_0"_s);
    auto* defaultPos = findChild<QPushButton*>(u"btnSavePosi_1"_s);
    c.btnSavePosi = {savePos, defaultPos};
    connect(savePos, &QPushButton::clicked, this, [this] { emit savePosition(0); });
    connect(defaultPos, &QPushButton::clicked, this, [this] { emit savePosition(1); });
    m_saveButton = findChild<QPushButton*>(u"configSaveBtn_1"_s);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(findChild<QPushButton*>(u"configSaveBtn_0"_s), &QPushButton::clicked, this,
            [this] { c.Check1->setChecked(false); });
}

void CheckSettingsPanel::buildRequired(const QStringList& captions)
{
    auto* frame = new QGroupBox(u"必输项(点右键可以修改名称)"_s, this);
    frame->setObjectName(u"requiredFrame"_s);
    auto* gl = new QGridLayout(frame);
    m_required.resize(18);
    int n = 0;
    for (const Required& r : RequiredBoxes) {
        auto* box = new QCheckBox(captions.value(r.box, QString::fromUtf16(r.caption)), frame);
        box->setObjectName(u"LabChk_"_s + QString::number(r.box));
        box->setToolTip(QString::fromLatin1(r.tip));
        setTag(box, QString::fromLatin1(r.tag));
        box->setContextMenuPolicy(Qt::DefaultContextMenu);
        box->installEventFilter(this);
        gl->addWidget(box, n / 5, n % 5);
        ++n;
        m_required[r.box] = box;
    }
    static_cast<QGridLayout*>(layout())->addWidget(frame, 1, 1);
}

bool CheckSettingsPanel::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QCheckBox*>(watched);
    if (box && event->type() == QEvent::ContextMenu && tagOf(box).startsWith(u"Label")) {
        try {
            SysUtil::editCaption(Database::conn(), box);
            applyCaptionsToFields();
            emit captionEdited();
        } catch (const DbError& e) {
            MessageBox::critical(e.message(), this);
        }
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void CheckSettingsPanel::applyCaptionsToFields()
{
    applyCaptionsToFields(c, requiredCaptions());
}

QStringList CheckSettingsPanel::requiredCaptions() const
{
    QStringList captions;
    for (const QCheckBox* box : m_required)
        captions << (box ? box->text() : QString());
    return captions;
}

void CheckSettingsPanel::applyCaptionsToFields(CheckControls& c, const QStringList& captions)
{
    for (const Required& r : RequiredBoxes) {
        const QStringList tip = QString::fromLatin1(r.tip).split(u',');
        const int lab = tip.value(0).toInt();
        const QString caption = captions.value(r.box);
        if (lab > 0 && lab < c.LabBox.size() && c.LabBox[lab] && tip.value(1) != u"gradeBtn" &&
            !caption.isEmpty()) {
            c.LabBox[lab]->setText(caption);
            if (QWidget* buddy = c.LabBox[lab]->buddy())
                buddy->setAccessibleName(caption);
        }
    }
}

void CheckSettingsPanel::setNumberScopes(const QStringList& scopes)
{
    QComboBox* box = m_combo.first(); // "codetype"
    box->clear();
    box->addItems(scopes);
    box->setProperty("design", scopes.value(0));
}

void CheckSettingsPanel::load()
{
    for (QCheckBox* box : m_check)
        box->setChecked(readMirel(tagOf(box), box->property("design").toBool() ? u"1"_s : u"0"_s) ==
                        u"1");
    for (QLineEdit* box : m_text)
        box->setText(readMirel(tagOf(box), box->property("design").toString()));
    for (QComboBox* box : m_combo)
        box->setCurrentText(readMirel(tagOf(box), box->property("design").toString()));
    const QString required = readMirel(u"requireTxtbox"_s, QString());
    for (QCheckBox* box : m_required)
        if (box)
            box->setChecked(required.contains(box->toolTip() + u';'));
}

void CheckSettingsPanel::save()
{
    const auto write = [](const QString& key, const QString& value) {
        SysUtil::writeIni(Mirel, key, value, MirelIni);
    };
    for (QCheckBox* box : m_check)
        write(tagOf(box), box->isChecked() ? u"1"_s : u"0"_s);
    for (QLineEdit* box : m_text)
        write(tagOf(box), box->text());
    for (QComboBox* box : m_combo)
        write(tagOf(box), box->currentText());
    QString required;
    for (QCheckBox* box : m_required)
        if (box && box->isChecked())
            required += box->toolTip() + u';';
    write(u"requireTxtbox"_s, required);
    c.Check1->setChecked(false);
    closePanel();
    emit saved();
}

void CheckSettingsPanel::askAccessCode()
{
    m_password->clear();
    m_passwordFrame->show();
    m_passwordFrame->raise();
    m_password->setFocus();
}

bool CheckSettingsPanel::checkAccessCode(const QString& entered)
{
    m_passwordFrame->hide();
    if (entered != Database::getDbInfo(u"checkpassword"_s, u"5862"_s)) {
        MessageBox::show(u"密码错了,请重新输入"_s, MessageBox::Critical);
        c.Check1->setChecked(false);
        return false;
    }
    load();
    show();
    raise();
    return true;
}

void CheckSettingsPanel::closePanel()
{
    m_passwordFrame->hide();
    hide();
}
