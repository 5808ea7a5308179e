// The pictures of the defect touched on the overview's Pareto: the latest ones of the range as
// thumbnails with their card, roll and position; a touch on one shows it full-screen. A tab of
// the overview's tables, so that the office sees the hole beside the figures it caused.
#pragma once

#include "stations/quality/QualityData.h"

#include <QList>
#include <QWidget>

class QLabel;
class QToolButton;

class QualityPictures : public QWidget {
    Q_OBJECT
public:
    explicit QualityPictures(QWidget* parent);

    /// How many pictures are shown at most.
    static constexpr int Count = 8;
    static QString title();

    /// Shows the pictures of defect, their files under folder; note says why there are none
    /// when they could not be read. An empty defect: how to get pictures here.
    void show(const QString& defect, const QList<QualityData::Picture>& pictures,
              const QString& folder, const QString& note = QString());
    /// The text under a thumbnail: card and roll, the position, when it was taken.
    static QString caption(const QualityData::Picture& p);

    QLabel* labNote = nullptr;
    QList<QToolButton*> thumbs; ///< picture0 … picture7, hidden beyond the pictures shown

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void open(int index);
    void fitIcons();

    QList<QualityData::Picture> m_pictures;
    QString m_folder;
};
