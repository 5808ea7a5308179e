// The label viewer: a print preview of a filled report filling its window, with the viewer's own
// zoom, page and print commands and an extra button that opens the template for editing.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class LabelReport;
class QAction;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;

class frmBillPrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit frmBillPrintPreview(QWidget* parent = nullptr);
    ~frmBillPrintPreview() override;

    /// Shows the report modal and returns when the window is closed; path is the template file
    /// the "修改模版文件" button opens. Unattended runs (MIREL_NONINTERACTIVE=1) draw the preview
    /// once and close it at once.
    static void Report(LabelReport& report, const QString& path);

    /// Hands a report to the viewer (without showing the window) and starts it.
    void setReport(LabelReport* report, const QString& path);

    QPrintPreviewWidget* viewer() const { return m_viewer; }
    QToolBar* toolBar() const { return m_toolBar; }
    /// Toolbar button 1, "修改模版文件".
    QAction* editButton() const { return m_edit; }
    /// Pages the viewer drew the last time it painted the report.
    int paintedPages() const { return m_painted; }

    /// Previews shown since the process started, and the template of the last one.
    static int shownCount();
    /// Where the viewer reports a failed print (the shell shows it in a message box); without
    /// a handler the message goes to the log.
    static void setErrorHandler(std::function<void(const QString&)> handler);
    static QString lastShownTemplate();

public slots:
    /// Opens the template in the program the desktop associates with .grf files (the designer).
    /// Failures are ignored: the preview stays as it is.
    void editTemplate();
    /// Prints the report on its printer (the template's or the station's choice).
    void printReport();

private:
    void paintReport(QPrinter* printer);
    void buildToolBar();

    LabelReport* m_report = nullptr;
    QString m_path;
    QPrinter* m_printer = nullptr;
    QPrintPreviewWidget* m_viewer = nullptr;
    QToolBar* m_toolBar = nullptr;
    QAction* m_edit = nullptr;
    int m_painted = 0;
};
