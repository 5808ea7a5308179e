// A program folder with its own stock database file and kanban.ini, and a board loaded on it.
#pragma once

#include "stations/kanban/frmKanban.h"
#include "support/station/StationFixture.h"

using namespace Qt::StringLiterals;

class KanbanFixture : public StationFixture<frmKanban> {
public:
    /// batches: rows of iteminBatch in stock; ini: lines of the [看板配置] section.
    explicit KanbanFixture(int batches = 3, const QByteArray& ini = QByteArray());

    /// The board loaded, its tick stopped: tests tick by hand unless they start it.
    frmKanban& open();
    QString databasePath() const { return m_home.file(u"stock.db"_s); }
    /// Writes a stock database with this many batches at path (closed, nothing left in a journal).
    static void makeDatabase(const QString& path, int batches);
};
