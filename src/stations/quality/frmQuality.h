// The quality office's overview of the inspection frames' rolls: filters, the figures of the
// range against the range before, three charts and the tables per machine and per inspector.
// It only reads; a touched bar narrows the other views to it.
#pragma once

#include "stations/quality/QualityData.h"

#include <QList>
#include <QWidget>

class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QualityChartViews;
class QualityPictures;
class UserControl4;

class frmQuality : public QWidget {
    Q_OBJECT
public:
    explicit frmQuality(QWidget* parent = nullptr);
    ~frmQuality() override;

    /// Opens the database, reads the grade list and shows the last seven days.
    void Form_Load();

    /// The "查询" button: reads the filters, checks them and shows the overview. A bad filter or a
    /// failing database gives a message and leaves the last overview on the screen; false then.
    bool query();
    /// Narrows the other views to a defect, or a day (and grade); the same touch again widens
    /// them back.
    void touchDefect(const QString& defect);
    void touchDay(const QDate& day, const QString& grade);
    /// Drops the touched bar.
    void clearTouch();

    /// The report: a title page with the figures and the tables, one page per chart. Asks for
    /// the file when path is empty. False with a message when it cannot be written.
    bool exportPdf(QString path = QString());
    /// The figures, the Pareto and both tables as sheets of one .xlsx file.
    bool exportXlsx(QString path = QString());

    /// The filter of the screen's fields.
    QualitySql::Filter filter() const;
    const QualityData::Overview& overview() const { return m_overview; }
    const QualityData::Grades& grades() const { return m_grades; }
    /// The charts; nullptr when their module could not be loaded (a label says so instead).
    QualityChartViews* charts() const { return m_charts; }

    // Controls under their names, for the station's tests.
    QLabel* lab_status = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QLineEdit* txtMachine = nullptr;
    QLineEdit* txtCard = nullptr;
    QLineEdit* txtItem = nullptr;
    QLineEdit* txtInspector = nullptr;
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdPdf = nullptr;
    QPushButton* cmdXlsx = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdPickMachine = nullptr;
    QPushButton* cmdPickInspector = nullptr;
    QLabel* labTouched = nullptr;
    QList<QFrame*> figureBox;
    QList<QLabel*> labFigure;       ///< the figure's caption
    QList<QLabel*> labFigureNow;    ///< its value
    QList<QLabel*> labFigureBefore; ///< the range before and the change
    QTabWidget* tabTables = nullptr;
    QTableWidget* gridMachine = nullptr;
    QTableWidget* gridInspector = nullptr;
    QualityPictures* pictures = nullptr; ///< the touched defect's latest pictures (a tab)
    UserControl4* picker = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildFilters();
    void buildFigures();
    void buildTables();
    void buildCharts();
    void applyFonts();
    void showOverview(const QualityData::Overview& o);
    void showTables(const QualityData::Overview& o);
    /// The touched defect's pictures; their tab comes forward when there are some.
    void showPictures(const QualitySql::Filter& f);
    bool reload();
    /// Queries again by itself once the database answers (it was away at start or at a query).
    void refreshWhenBack();
    void openPicker(QLineEdit* box, const QString& column);

    QualityChartViews* m_charts = nullptr;
    QualityData::Grades m_grades;
    double m_cap = 0; ///< the frames' per-metre cap, 0 when they grade without it
    QString m_photoFolder; ///< where the frames keep their defect pictures
    QualityData::Overview m_overview;
    QualitySql::Filter m_base;  ///< the fields as they were at the last 查询
    QualitySql::Filter m_touch; ///< only defect, day and grade are used
    bool m_waitingForDatabase = false;
};
