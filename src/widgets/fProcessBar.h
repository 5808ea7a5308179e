// The roll progress bar of the inspection screen: how far the card's quantity has come, with
// point marks (earlier reports of the card line) that flash as the roll approaches them and
// coloured segments (weavers' shares) laid end to end.
#pragma once

#include <QColor>
#include <QList>
#include <QTimer>
#include <QWidget>

class fProcessBar : public QWidget {
    Q_OBJECT

public:
    /// A point mark: its position on the scale, and how it is drawn now.
    struct Mark {
        int position = 0;
        QColor color;
        int widthTwips = 30;
    };
    /// A segment: caption "name(length)", its length on the scale and its colour.
    struct Segment {
        QString caption;
        double length = 0;
        QColor color;
    };

    /// Flashes of one alarm before it is dropped; ticks come every FlashIntervalMs.
    static constexpr int MaxFlashes = 7;
    static constexpr int FlashIntervalMs = 1000;

    explicit fProcessBar(QWidget* parent = nullptr);

    /// Sets the end of the scale (0 or less counts as 1, fractions are rounded) and removes
    /// every mark and segment.
    void setMax(double max);
    /// Sets the current value and refreshes the marks: passed marks turn black and wide, the
    /// last mark at most 5 ahead of the value becomes the alarm.
    void setValue(int value);
    /// Adds a point mark at a position of the scale.
    void addBug(int position);
    /// Adds a segment after the previous one, length measured on the scale.
    void addMen(const QString& name, double length);
    /// Paints the stretch from..to of the track red (a section that passed the alert's points);
    /// an empty stretch removes it, and so does setMax.
    void setAlertSection(double from, double to);
    /// The red stretch in pixels, empty when there is none.
    QRectF alertRect() const;

    int maximum() const { return m_max; }
    int value() const { return m_value; }
    int bugCount() const { return int(m_marks.size()); }
    Mark bug(int i) const { return m_marks.value(i); }
    int segmentCount() const { return int(m_segments.size()); }
    Segment segment(int i) const { return m_segments.value(i); }
    /// Index of the flashing mark, -1 when none.
    int alarmIndex() const { return m_alarm; }
    int flashCount() const { return m_flashes; }
    /// Colour of the base line (it changes while a mark flashes).
    QColor lineColor() const { return m_lineColor; }

    // Geometry in pixels, for painting, the operator's finger and tests.
    QRectF trackRect() const;
    QRectF markRect(int i) const;
    QRectF segmentRect(int i) const;
    QRectF thumbRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    /// One step of the flashing (the timer calls it every second).
    void tick();

signals:
    /// The operator dragged the thumb.
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    void refresh();
    double xOf(double position) const;
    void dragTo(double x);
    double pixelsOfTwips(int twips) const;
    void paintSegments(QPainter& p) const;
    void paintTrack(QPainter& p) const;
    void paintValue(QPainter& p) const;

    int m_max = 10;
    int m_value = 0;
    QList<Mark> m_marks;
    QList<Segment> m_segments;
    double m_alertFrom = 0;
    double m_alertTo = 0;
    int m_alarm = -1;
    int m_flashes = 0;
    QColor m_lineColor = Qt::black;
    QTimer m_timer;
};
