#pragma once
// The main window's grid: text cells with one fixed header row (row 0) and no fixed
// column. Data rows are 1 to rows() - 1. Addressing follows the usual grid-control
// style: set row() and col() to make a cell current, then read or write text().
//
// Rows are added from their cell values (never split at tabs). While the grid is
// hidden, adding and removing rows emits no per-row model signals: the view is reset
// once when the grid is shown again, so tens of thousands of rows fill fast.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <vector>

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;    // data rows only
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Grid-style operations; row numbers are grid rows (0 = header).
    int rows() const;
    void setRows(int rows);                 // keeps the first rows, adds blank ones
    int cols() const;
    void setCols(int cols);
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    void addRow(const QStringList& cells);  // a new last row; missing cells are blank
    void removeRow(int row);                // a data row

    // While batching, changes emit no signals; endBatch() resets attached views once.
    void beginBatch();
    void endBatch();
    bool batching() const { return mBatching; }

private:
    QStringList mHeader;
    std::vector<QString> mCells;  // data rows, row-major, mCols per row
    int mCols = 0;
    bool mBatching = false;
};

class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    GridModel* gridModel() const { return mModel; }

    int rows() const;
    void setRows(int rows);
    int cols() const;
    void setCols(int cols);

    // The current cell. Row 0 addresses the header (for writing captions); setting a
    // data row also moves the view's current index there.
    int row() const;
    void setRow(int row);
    int col() const;
    void setCol(int col);
    QString text() const;
    void setText(const QString& text);
    QString cellText(int row, int col) const;

    int colWidth(int col) const;            // twips
    void setColWidth(int col, int twips);

    void addRow(const QStringList& cells);
    void removeRow(int row);

    // The highlighted range (grid rows and columns).
    int selStartRow() const;
    int selEndRow() const;
    int selStartCol() const;
    int selEndCol() const;
    void setSelectionRange(int startRow, int startCol, int endRow, int endCol);

    // First data row and first column in view.
    int topRow() const;
    void setTopRow(int row);
    int leftCol() const;
    void setLeftCol(int col);

    // Height of the header row in pixels.
    int headerRowHeight() const;

    void setVisible(bool visible) override;

signals:
    void cellClicked();          // a mouse click on a data cell (after it became current)
    void cellDoubleClicked();
    void keyDown(QKeyEvent* event, bool* consumed); // before the grid handles the key
    void currentCellChanged();   // the current cell moved, by the user or by code

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    GridModel* mModel;
    int mRow = 0;
    int mCol = 0;
};
