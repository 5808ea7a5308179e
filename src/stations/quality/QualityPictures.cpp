#include "stations/quality/QualityPictures.h"

#include "widgets/PictureView.h"

#include <QDir>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
constexpr int Columns = 4;
}

QualityPictures::QualityPictures(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"tabPictures"_s);
    setAccessibleName(title());
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);
    labNote = new QLabel(this);
    labNote->setObjectName(u"labPicturesNote"_s);
    labNote->setWordWrap(true);
    labNote->setAlignment(Qt::AlignCenter);
    grid->addWidget(labNote, 0, 0, 1, Columns);
    for (int i = 0; i < Count; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(u"picture%1"_s.arg(i));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, i] { open(i); });
        grid->addWidget(b, 1 + i / Columns, i % Columns);
        thumbs << b;
    }
    // The cells keep their places when fewer pictures are shown.
    for (int c = 0; c < Columns; ++c)
        grid->setColumnStretch(c, 1);
    show(QString(), {}, QString());
}

QString QualityPictures::title()
{
    return u"疵点照片"_s;
}

QString QualityPictures::caption(const QualityData::Picture& p)
{
    return u"%1 %2  %3m\n%4"_s.arg(p.card, p.roll, QString::number(p.position, 'f', 1),
                                   p.taken.toString(u"MM-dd hh:mm"_s));
}

void QualityPictures::show(const QString& defect, const QList<QualityData::Picture>& pictures,
                           const QString& folder, const QString& note)
{
    m_pictures = pictures.mid(0, Count);
    m_folder = folder;
    QString text = note;
    if (text.isEmpty() && defect.isEmpty())
        text = u"在疵点排列图上点一种疵点，这里显示它最近的照片"_s;
    else if (text.isEmpty() && m_pictures.isEmpty())
        text = u"所选范围内没有“%1”的照片"_s.arg(defect);
    labNote->setText(text);
    labNote->setVisible(!text.isEmpty());
    for (int i = 0; i < Count; ++i) {
        QToolButton* b = thumbs[i];
        b->setVisible(i < m_pictures.size());
        if (i >= m_pictures.size())
            continue;
        const QString c = caption(m_pictures[i]);
        b->setText(c);
        b->setAccessibleName(c);
        // A picture whose file is gone (a folder moved, a file swept) still says where it was.
        QImageReader reader(QDir(m_folder).filePath(m_pictures[i].file));
        reader.setAutoTransform(true);
        reader.setScaledSize(reader.size().scaled(320, 240, Qt::KeepAspectRatio));
        const QImage small = reader.read();
        b->setIcon(small.isNull() ? QIcon() : QIcon(QPixmap::fromImage(small)));
    }
    fitIcons();
}

void QualityPictures::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitIcons();
}

void QualityPictures::fitIcons()
{
    // Two rows of four: the icon takes what the caption's two lines leave of a cell.
    const int rows = (Count + Columns - 1) / Columns;
    const int captionLines = fontMetrics().height() * 2 + 8;
    const int w = qMax(16, width() / Columns - 12);
    const int h = qMax(16, height() / rows - captionLines - 8);
    for (QToolButton* b : std::as_const(thumbs))
        b->setIconSize(QSize(w, h));
}

void QualityPictures::open(int index)
{
    if (index < m_pictures.size())
        PictureView::open(this, QDir(m_folder).filePath(m_pictures[index].file),
                          caption(m_pictures[index]).replace(u'\n', u"  "_s));
}
