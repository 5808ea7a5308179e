// Defect detail dialog. The form is laid out on the twip grid of the station that opens it, so
// the pad has the same finger size as the station's own pad.
#include "widgets/frmCheckDetail.h"

#include "text/Vb.h"
#include "widgets/UserControl1.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Layout in twips.
const int Margin = 240, BoxTop = 900, BoxWidth = 2400, BoxHeight = 720, BoxGap = 300;
const int ButtonWidth = 1500, ButtonGap = 200, PadGap = 120;
const int FormWidth = Margin + 240 + 2 * (BoxWidth + BoxGap) + UserControl1::WidthTwips + 2 * Margin;
const int FormHeight = BoxTop + BoxHeight + PadGap + UserControl1::HeightTwips + 2 * Margin;

} // namespace

frmCheckDetail::frmCheckDetail(QWidget* parent)
    : QDialog(parent), m_twips(parent ? Twips::of(parent) : Twips()),
      m_frame(new QGroupBox(this)), m_pad(new UserControl1(this))
{
    setObjectName(u"frmCheckDetail"_s);
    setWindowTitle(u"疵点信息"_s);
    setModal(true);
    const QString captions[3] = {u"位置"_s, u"数量"_s, u"扣分"_s};
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = new QLabel(captions[i], m_frame);
        m_boxes[i] = new QLineEdit(m_frame);
        m_boxes[i]->setObjectName(u"TxtBox_%1"_s.arg(i));
        m_boxes[i]->setAccessibleName(captions[i]);
        m_labels[i]->setBuddy(m_boxes[i]);
        m_boxes[i]->installEventFilter(this);
    }
    const QString buttonCaptions[2] = {u"确定"_s, u"取消"_s};
    for (int i = 0; i < 2; ++i) {
        m_buttons[i] = new QPushButton(buttonCaptions[i], m_frame);
        m_buttons[i]->setObjectName(u"Command1_%1"_s.arg(i));
        m_buttons[i]->setAccessibleName(buttonCaptions[i]);
        m_buttons[i]->setAutoDefault(i == 0); // Enter on a focused 确定 presses it
    }
    connect(m_buttons[0], &QPushButton::clicked, this, &frmCheckDetail::confirm);
    connect(m_buttons[1], &QPushButton::clicked, this, &QDialog::reject);
    // The pad's confirm key works like Enter in the box it is bound to.
    connect(m_pad, &UserControl1::Confirm, this, [this](QLineEdit* box) {
        for (int i = 0; i < 3; ++i)
            if (box == m_boxes[i])
                nextFrom(i);
    });
    m_pad->setTwips(m_twips);
    m_pad->hide();
    layoutForm();
}

QLineEdit* frmCheckDetail::TxtBox(int i) const { return (i >= 0 && i < 3) ? m_boxes[i] : nullptr; }

QPushButton* frmCheckDetail::Command1(int i) const
{
    return (i >= 0 && i < 2) ? m_buttons[i] : nullptr;
}

QString frmCheckDetail::frameCaption() const { return m_frame->title(); }

void frmCheckDetail::layoutForm()
{
    const Twips& t = m_twips;
    // Pixel sizes from the twip grid: the boxes are read at arm's length.
    QFont f = font();
    f.setPixelSize(t.y(300));
    setFont(f);
    QFont big = f;
    big.setPixelSize(t.y(BoxHeight * 45 / 100));
    big.setBold(true);
    for (QLineEdit* box : m_boxes)
        box->setFont(big);
    for (QPushButton* b : m_buttons)
        b->setFont(big);
    QFont title = f;
    title.setBold(true);
    m_frame->setFont(title);
    setFixedSize(t.x(FormWidth), t.y(FormHeight));
    m_frame->setGeometry(t.rect(Margin / 2, Margin / 4, FormWidth - Margin, FormHeight - Margin / 2));
    for (int i = 0; i < 3; ++i) {
        const int left = Margin + i * (BoxWidth + BoxGap);
        m_labels[i]->setGeometry(t.rect(left, BoxTop - 420, BoxWidth, 400));
        m_boxes[i]->setGeometry(t.rect(left, BoxTop - 60, BoxWidth, BoxHeight));
    }
    const int buttonsLeft = Margin + 3 * (BoxWidth + BoxGap);
    for (int i = 0; i < 2; ++i)
        m_buttons[i]->setGeometry(t.rect(buttonsLeft + i * (ButtonWidth + ButtonGap), BoxTop - 60,
                                         ButtonWidth, BoxHeight));
}

void frmCheckDetail::prepare(const QString& name, double position)
{
    m_name = name;
    m_result.clear();
    m_frame->setTitle(name + u" - 疵点信息"_s);
    m_boxes[0]->setText(vb::Str(position));
    m_boxes[1]->clear();
    m_boxes[2]->clear();
}

QString frmCheckDetail::showMe(const QString& name, double position, QWidget* parent)
{
    frmCheckDetail dialog(parent);
    dialog.prepare(name, position);
    dialog.exec();
    return dialog.result();
}

void frmCheckDetail::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    m_boxes[0]->setFocus(Qt::OtherFocusReason);
}

QPoint frmCheckDetail::padPlace(const QRect& box, const QSize& pad, const QSize& form)
{
    int y = box.y() + box.height();
    if (y + pad.height() > form.height())
        y = box.y() - pad.height();
    const int x = std::max(0, std::min(box.x(), form.width() - pad.width()));
    return QPoint(x, y);
}

void frmCheckDetail::boxEntered(int i)
{
    QLineEdit* box = m_boxes[i];
    // Selected after the click that gave the focus has placed its caret, so the first key
    // types over the whole value.
    QTimer::singleShot(0, box, [box] { box->selectAll(); });
    box->selectAll();
    m_pad->setTextBox(box);
    const QRect boxRect(box->mapTo(this, QPoint(0, 0)), box->size());
    m_pad->move(padPlace(boxRect.adjusted(0, 0, 0, m_twips.y(PadGap)), m_pad->size(), size()));
    m_pad->raise();
}

void frmCheckDetail::nextFrom(int i)
{
    if (i < 2)
        m_boxes[i + 1]->setFocus(Qt::TabFocusReason);
    else {
        m_pad->hide();
        m_buttons[0]->setFocus(Qt::TabFocusReason);
    }
}

bool frmCheckDetail::eventFilter(QObject* watched, QEvent* e)
{
    for (int i = 0; i < 3; ++i) {
        if (watched != m_boxes[i])
            continue;
        if (e->type() == QEvent::FocusIn) {
            boxEntered(i);
        } else if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                nextFrom(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmCheckDetail::confirm()
{
    m_result = m_name + u',' + vb::Str(vb::Val(m_boxes[0]->text())) + u','
               + vb::Str(vb::Val(m_boxes[1]->text())) + u','
               + vb::Str(vb::Val(m_boxes[2]->text()));
    accept();
}
