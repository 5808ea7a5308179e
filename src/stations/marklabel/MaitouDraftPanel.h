// The package being made at a mark-label or fiber-box station (its article and the fields the
// packer typed), kept in the station's journal file as the inspection frame keeps its roll, so
// that a panel that loses its power or is killed mid-package starts again with it.
#pragma once

#include "stations/inspection/CheckDraftPanel.h"

#include <QStringList>

class frmMaitou;

class MaitouDraftPanel : public CheckDraftPanel {
    Q_OBJECT
public:
    /// Keeps the package whenever a field the packer types changes or an article is chosen;
    /// forgets it when the package is saved or deleted, or a new one begun.
    explicit MaitouDraftPanel(frmMaitou* form);

protected:
    QString kind() const override;
    /// Defects, or a field or the article other than when the package began.
    bool unsaved() const override;
    void addRows(FormDraft::Rows& rows) const override;
    void loadKept(const Values& value) override;
    /// A new package the station saved with this number onto this pallet.
    bool savedMeanwhile(const Values& value) const override;
    QString restoredStatus(int defects) const override;
    void began() override { m_begun = m_written = work(); }

private:
    /// The fields and the article as the packer gave them: not the number the station proposes,
    /// nor a weight or length its connected scale or counter writes.
    QStringList work() const;
    /// A field changed: kept once the change (an article fills several fields) is complete.
    void changed();

    frmMaitou* m_maitou;
    QStringList m_begun;
    QStringList m_written; // the packer's work as last kept
    bool m_queued = false;
};
