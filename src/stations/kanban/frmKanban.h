// The stock kanban board on the warehouse wall: the batches in stock in large type, one row
// further every tick, with the clock and a scrolling message line.
#pragma once

#include "stations/kanban/KanbanSettings.h"

#include <QDateTime>
#include <QVector>
#include <QWidget>

#include <array>

class EditGrid;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

class frmKanban : public QWidget {
    Q_OBJECT
public:
    explicit frmKanban(QWidget* parent = nullptr);
    ~frmKanban() override;

    /// Opens the database, reads the font size and the stored widths, loads the stock and starts
    /// the tick.
    void Form_Load();

    /// One step of the board: the next row to the top (reloading after the last), the clock and
    /// the scrolling line. While the database cannot be read, a tick tries again once the pause
    /// after the last failure (retryPause) has passed.
    void tick();
    /// Runs the board's query, read-only, into the grid. A failing query leaves the last rows on the board
    /// and shows since when they are stale; false then.
    bool loadData();
    /// Places the labels and the grid for the window's size and takes over title, interval and
    /// scrolling text from kanban.ini.
    void layoutForm();

    /// The settings frame: after the access code (DBInfo "checkpassword"), shown with the ini
    /// values, the tick stopped. A wrong or no code leaves the board as it was.
    void showSettings();
    /// Writes every box to kanban.ini, hides the frame, restarts the tick and lays out again.
    void saveSettings();
    void toggleFullScreen();

    int currentRow() const { return m_currentRow; }
    int fontSize() const { return m_fontSize; }
    /// When the board's data went stale; invalid while the database answers.
    QDateTime offlineSince() const { return m_offlineSince; }
    /// Milliseconds between the last failed read and the next one; 0 while the database answers.
    int retryPause() const { return m_failures ? KanbanSettings::retryPause(m_failures) : 0; }

    /// The three lines of the board (lab_info) and the settings boxes (txt_set) by name.
    enum Line : int { Title = 0, Clock = 1, Marquee = 2 };
    enum Setting : int { TitleSetting = 0, Interval = 1, FontSize = 2, BoardSql = 3, MarqueeSetting = 4 };

    // Controls under their names, for the station's tests.
    std::array<QLabel*, 3> lab_info{};
    EditGrid* pGrid = nullptr;
    QFrame* Frame1 = nullptr;
    std::array<QLineEdit*, 5> txt_set{};
    std::array<QLabel*, 5> lab_set{};
    QPushButton* setBut = nullptr;
    QLabel* labOffline = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* MainMenu = nullptr;
    QAction* full = nullptr;
    QAction* setting = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildSettingsFrame();
    void applyFonts();
    void placeSettingsFrame();
    void openMenu(const QPoint& globalPos);
    void markOffline(const QString& reason, KanbanSettings::Stale why);
    void markOnline();
    void placeTitle();
    void storeWidths();
    void fitColumns();
    void setRowHeights();

    int m_fontSize = 32;
    int m_currentRow = 0;
    QDateTime m_offlineSince;
    QDateTime m_lastTry; ///< when the last read failed
    int m_failures = 0;  ///< failed reads in a row
    bool m_loaded = false;
    QVector<int> m_storedWidths; ///< twips at the full type, per column; empty when none fit
};
