// Article form: what a packing-table operator needs to put a new article on the label at once,
// without the office's article maintenance.
#include "dialogs/frmArticle.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"
#include "widgets/ComboEx.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const int Margin = 240, LabelWidth = 1500, BoxWidth = 4200, RowHeight = 560, RowGap = 160;
const int ButtonWidth = 1500;
const int FormWidth = 2 * Margin + LabelWidth + BoxWidth;
const int FormHeight = 2 * Margin + 7 * (RowHeight + RowGap);

// Captions of the rows, the type list being row 3.
const char16_t* const Captions[6] = {u"商品代码", u"商品名称", u"商品规格",
                                     u"商品类别", u"单位",     u"价格"};

} // namespace

frmArticle::frmArticle(QWidget* parent)
    : QDialog(parent), m_twips(parent ? Twips::of(parent) : Twips()), m_type(new ComboEx(this))
{
    setObjectName(u"frmArticle"_s);
    setWindowTitle(u"商品资料"_s);
    setModal(true);
    m_type->setObjectName(u"ItemType"_s);
    m_type->setAccessibleName(QString::fromUtf16(Captions[3]));
    int box = 0;
    for (int i = 0; i < 6; ++i) {
        m_labels[i] = new QLabel(QString::fromUtf16(Captions[i]), this);
        if (i == 3) {
            m_labels[i]->setBuddy(m_type);
            continue;
        }
        m_boxes[box] = new QLineEdit(this);
        m_boxes[box]->setObjectName(u"TxtBox_"_s + QString::number(box));
        m_boxes[box]->setAccessibleName(m_labels[i]->text());
        m_labels[i]->setBuddy(m_boxes[box]);
        ++box;
    }
    const QString buttonCaptions[2] = {u"保存"_s, u"取消"_s};
    for (int i = 0; i < 2; ++i) {
        m_buttons[i] = new QPushButton(buttonCaptions[i], this);
        m_buttons[i]->setObjectName(u"Command1_"_s + QString::number(i));
        m_buttons[i]->setAccessibleName(buttonCaptions[i]);
    }
    m_buttons[0]->setDefault(true);
    connect(m_buttons[0], &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(m_buttons[1], &QPushButton::clicked, this, &QDialog::reject);
    layoutForm();
}

QLineEdit* frmArticle::TxtBox(int i) const { return (i >= 0 && i < 5) ? m_boxes[i] : nullptr; }

QPushButton* frmArticle::Command1(int i) const { return (i >= 0 && i < 2) ? m_buttons[i] : nullptr; }

void frmArticle::layoutForm()
{
    const Twips& t = m_twips;
    QFont f = font();
    f.setPixelSize(t.y(280));
    setFont(f);
    setFixedSize(t.x(FormWidth), t.y(FormHeight));
    QWidget* fields[6] = {m_boxes[0], m_boxes[1], m_boxes[2], m_type, m_boxes[3], m_boxes[4]};
    for (int i = 0; i < 6; ++i) {
        const int top = Margin + i * (RowHeight + RowGap);
        m_labels[i]->setGeometry(t.rect(Margin, top, LabelWidth, RowHeight));
        fields[i]->setGeometry(t.rect(Margin + LabelWidth, top, BoxWidth, RowHeight));
    }
    const int top = Margin + 6 * (RowHeight + RowGap);
    for (int i = 0; i < 2; ++i)
        m_buttons[i]->setGeometry(t.rect(FormWidth - Margin - (2 - i) * (ButtonWidth + RowGap)
                                             + RowGap,
                                         top, ButtonWidth, RowHeight));
}

void frmArticle::prepare(const ItemArticle& article)
{
    m_article = article;
    m_type->clearEntries();
    m_type->bindRecordset(SysUtil::openRecordset(
        Database::conn(), u"select itemtypeId,itemtypeName from itemtype order by itemtypeId"_s));
    if (article.itemTypeId > 0)
        m_type->selectValue(QString::number(article.itemTypeId));
    m_boxes[0]->setText(article.code);
    m_boxes[1]->setText(article.name);
    m_boxes[2]->setText(article.spec);
    m_boxes[3]->setText(article.unit);
    m_boxes[4]->setText(article.itemId > 0 ? vb::CStr(article.price) : QString());
}

bool frmArticle::save()
{
    const QString name = m_boxes[1]->text().trimmed();
    const QString price = m_boxes[4]->text().trimmed();
    if (name.isEmpty()) {
        MessageBox::information(u"请输入商品名称"_s, this);
        m_boxes[1]->setFocus();
        return false;
    }
    if (!price.isEmpty() && !vb::IsNumeric(price)) {
        MessageBox::information(u"请输入有效的价格"_s, this);
        m_boxes[4]->setFocus();
        m_boxes[4]->selectAll();
        return false;
    }
    ItemArticle a = m_article;
    a.code = m_boxes[0]->text().trimmed();
    a.name = name;
    a.spec = m_boxes[2]->text().trimmed();
    a.itemTypeId = int(vb::Val(m_type->selectedValue()));
    a.unit = m_boxes[3]->text().trimmed();
    a.price = vb::Val(price);
    try {
        a.itemId = storeArticle(Database::conn(), a);
    } catch (const DbError& e) {
        MessageBox::critical(u"保存商品发生错误"_s + e.message(), this);
        return false;
    }
    m_article = a;
    return true;
}

int frmArticle::newArticle(int itemClass, QWidget* parent)
{
    frmArticle form(parent);
    ItemArticle a;
    a.itemClass = itemClass;
    form.prepare(a);
    return form.exec() == QDialog::Accepted ? form.storedId() : 0;
}

bool frmArticle::changeArticle(int itemId, QWidget* parent)
{
    const ItemArticle a = loadArticle(Database::conn(), itemId);
    if (a.itemId == 0)
        return false;
    frmArticle form(parent);
    form.prepare(a);
    return form.exec() == QDialog::Accepted;
}
