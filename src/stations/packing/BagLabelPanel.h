// The labels of the packing window: the roll's mark label (打印F4) and the box label (打印F9)
// with the templates chosen last, the template menus, the labels filled from the rows kept here
// while the database is away, and the jobs of the print pool.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class frmBag;

class BagLabelPanel : public QObject {
    Q_OBJECT
public:
    explicit BagLabelPanel(frmBag* form);

    /// "打印F4" / "打印F9" with the remembered templates.
    void printMark();
    void printBox();
    bool PrintBill(const QString& templateName, double id, bool preview);
    bool PrintBag(const QString& templateName, const QString& box, bool preview);
    /// Fills and pops up the template menu of a label kind ("唛头", "箱唛").
    void getPrintTemplate(const QString& kind);
    /// The template remembered for a label kind.
    QString printTemplate(const QString& kind) const;
    /// One print-pool job of a kind the table knows ("箱唛", "匹唛", "单据").
    void printPoolJob(const QString& kind, const QString& pid);

private:
    /// Labels cannot be filled from the database now (saves wait, or it does not answer).
    bool printsOffline() const;
    /// Runs print with the labels filled from the kept rows of the box's rolls and of rolls and
    /// the saves waiting in the journal; a roll never read here leaves the label for after the
    /// upload (status line).
    void printOffline(const QString& box, const QList<qint64>& rolls,
                      const std::function<void()>& print);

    frmBag* m_form;
};
