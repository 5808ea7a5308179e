// The stations' grid of text cells: defect rows, roll lists, the packing list, the stock board.
// Row 0 is the header, data rows count from 1; sizes are in twips like the stations' layouts.
#pragma once

#include "screen/Twips.h"

#include <QList>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QTableWidget;
class QTableWidgetItem;
class GridView;

class Recordset;

class EditGrid : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool wheelStepsOneRow READ wheelStepsOneRow WRITE setWheelStepsOneRow)

public:
    /// Cell alignments by number, as stored alignment values use them (1 = left, centred
    /// vertically; 4 = centred; 7 = right, centred vertically).
    enum Alignment {
        AlignLeftTop = 0,
        AlignLeftCenter = 1,
        AlignLeftBottom = 2,
        AlignCenterTop = 3,
        AlignCenterCenter = 4,
        AlignCenterBottom = 5,
        AlignRightTop = 6,
        AlignRightCenter = 7,
        AlignRightBottom = 8,
        AlignGeneral = 9 // text left, numbers right
    };

    explicit EditGrid(QWidget* parent = nullptr);
    ~EditGrid() override;

    // --- shape: rows() counts the header row, so a grid with only its header has 1 row ---
    int rows() const;
    /// Sets the number of rows including the header (at least 1); new rows are empty.
    void setRows(int rows);
    int cols() const;
    void setCols(int cols);

    /// Text of a cell; row 0 is the header. Outside the grid: an empty text.
    QString textMatrix(int row, int col) const;
    /// Sets a cell; does nothing outside the grid.
    void setTextMatrix(int row, int col, const QString& text);

    /// Header texts with alignment marks, "^" centred, "<" left, ">" right, separated by "|":
    /// "^商品id|^选中|^商品代码". Sets the column count to the number of parts.
    void setFormatString(const QString& format);
    void setHeader(const QStringList& header);
    QStringList header() const;

    /// Appends a data row (or inserts it before data row `row`); cells separated by tabs.
    void addItem(const QString& tabSeparatedCells, int row = -1);
    /// Removes data row `row` (>= 1); the header cannot be removed.
    void removeItem(int row);
    /// Removes every data row; the header stays.
    void clearRows();

    // --- binding: the header from the column names, one data row per record ---
    void bindRows(const QStringList& columns, const QList<QStringList>& records);
    /// Shows every record of the recordset with the field names as header (null fields as
    /// empty cells); the recordset's position is not touched. Column widths stay when the
    /// columns are the same as before, otherwise they follow the contents. A closed
    /// recordset empties the grid to its header.
    void bindRecordset(const Recordset& rs);

    // --- current cell and selection ---
    /// Current data row, 0 when no data row is current.
    int row() const;
    /// Makes a data row current (0 clears the current row).
    void setRow(int row);
    int col() const;
    void setCol(int col);
    /// The other end of the selected row range (the current row when one row is selected).
    int rowSel() const;
    /// Selects the rows from the current row to `row`.
    void setRowSel(int row);

    // --- scrolling ---
    /// The data row shown at the top (1 when nothing is scrolled or the grid is empty).
    int topRow() const;
    /// Scrolls so that data row `row` is at the top, as far as the rows below allow.
    void setTopRow(int row);
    /// When on, one wheel notch moves the top row by exactly one: towards the operator down
    /// one while rows remain, away up one but not above the first data row.
    bool wheelStepsOneRow() const { return m_wheelStepsOneRow; }
    void setWheelStepsOneRow(bool on);
    /// Turns the one-row wheel on for every grid inside window (the inspection-type windows).
    static void hookWheel(QWidget* window);

    // --- sizes in twips, fonts in points ---
    /// The scale for twips (the station window's scale; 15 twips a pixel when not set).
    void setTwips(const Twips& twips);
    int colWidth(int col) const;
    /// Width in twips; 0 hides the column, a negative width is ignored.
    void setColWidth(int col, int twips);
    /// Widths of all columns in twips joined with "," (no trailing comma).
    QString colWidthList() const;
    /// Applies a stored width list when it has exactly cols() entries, from column firstCol on;
    /// returns false (and changes nothing) otherwise.
    bool applyColWidthList(const QString& list, int firstCol = 0);
    /// Height of a row in twips; row 0 is the header.
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);
    double fontSize() const { return m_fontPoints; }
    void setFontSize(double points);
    /// Rows of a list that is read and tapped rather than typed into: as tall as the type needs
    /// with some air, instead of at least a typing fingertip's 36 px. Off by default.
    void setCompactRows(bool on);
    /// The table only as tall as its header and whole rows, the rest of the grid's place left
    /// empty: scrolled to its last row, the list shows no row cut at the top. Off by default.
    void setWholeRows(bool on);

    // --- editing ---
    /// Lets the operator type into the cells of a column (double tap or typing on the cell).
    void setColEditable(int col, bool editable);
    bool colEditable(int col) const;

    /// A strip over the table (an alert, say) that takes its room from the table while it is
    /// shown, instead of lying over rows. The grid takes the widget over.
    void setBanner(QWidget* banner);
    /// A column at least as wide as its widest text, so that no value of it is cut ("20-23.5"
    /// rather than "20-…"); it widens as texts are set and as the type changes.
    void setColFitsText(int col, bool on);

    /// The table inside, for styling and tests.
    QTableWidget* table() const;

signals:
    void currentCellChanged(int row, int col);
    void cellClicked(int row, int col);
    void cellDoubleClicked(int row, int col);
    /// The operator changed the text of an editable cell.
    void cellEdited(int row, int col);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class GridView;
    void fitWholeRows();
    void fitColText(int col);
    QTableWidgetItem* makeItem(int col, const QString& text) const;
    void ensureItems();
    void applyAlignment(int col);
    void applyFont();
    void wheelNotches(int notches);
    Qt::Alignment qtAlignment(int col) const;

    GridView* m_view = nullptr;
    Twips m_twips;
    QVector<int> m_colAlign;
    QVector<bool> m_colEditable;
    QVector<int> m_colTwips; // last width set per column, -1 when none
    QVector<bool> m_colFitsText;
    QWidget* m_banner = nullptr;
    double m_fontPoints = 0;
    int m_headerHeight = -1;
    int m_headerTwips = -1;
    int m_wheelRemainder = 0;
    bool m_wheelStepsOneRow = false;
    bool m_compactRows = false;
    bool m_wholeRows = false;
    bool m_filling = false;
};
