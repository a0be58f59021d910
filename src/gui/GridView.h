#pragma once
// The main window's grid: text cells with one fixed header row (row 0) and no fixed
// column. Data rows are 1 to rows() - 1. Addressing follows the usual grid-control
// style: set row() and col() to make a cell current, then read or write text().
//
// Rows are added from their cell values (never split at tabs). While the grid is
// hidden, adding and removing rows emits no per-row model signals: the view is reset
// once when the grid is shown again, so tens of thousands of rows fill fast.

#include <QStringList>
#include <QTableView>
#include <vector>

#include "gui/ListingModel.h"

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    ListingModel* gridModel() const { return mModel; }

    int rows() const;
    void setRows(int rows);
    int cols() const;
    void setCols(int cols);

    // The current cell. Row 0 addresses the header (for writing captions); setting a
    // data row also moves the view's current index there (when events next run, or
    // before a key, click or paint), without scrolling and without changing the
    // highlighted range. Out-of-range values are ignored.
    int row() const;
    void setRow(int row);
    int col() const;
    void setCol(int col);
    QString text() const;
    void setText(const QString& text);
    QString cellText(int row, int col) const;

    int colWidth(int col) const;            // pixels
    void setColWidth(int col, int pixels);
    // Sizes every column to its header caption and the cells of the first sampleRows data
    // rows (a large fill is never measured in full). A header is never cut, nor a short text
    // such as a date; a long text is cut where it is wider than a sensible column, or where
    // the columns would not otherwise fit in the grid. The last column also takes whatever
    // room is left.
    void fitColumnsToContents(int sampleRows = 300);

    // Every data row at once (see ListingModel::replaceRows).
    void replaceRows(CellTable&& cells, std::vector<int>&& ids);
    int rowId(int row) const { return mModel->rowId(row); }
    int rowOfId(int id) const { return mModel->rowOfId(id); }

    // The highlighted range (grid rows and columns). With nothing highlighted the
    // range is the current cell.
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

    // Height of the header row in pixels; data rows have the same height.
    int headerRowHeight() const;
    // Data rows that fit whole in the grid as it is now sized.
    int visibleRows() const;

    // Hiding starts a batch (see ListingModel), showing again ends it.
    void setVisible(bool visible) override;

signals:
    void cellClicked();          // a mouse click on a data cell (after it became current)
    void cellDoubleClicked();    // a double click on a data cell
    void keyDown(QKeyEvent* event, bool* consumed); // before the grid handles the key
    void currentCellChanged();   // the current cell moved, by the user or by code
    void resized();              // the grid's size changed (visibleRows() may have)

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    struct Range {
        int top = 0, left = 0, bottom = -1, right = -1;  // grid rows; empty when bottom < top
        bool empty() const { return bottom < top || right < left; }
    };

    void moveCurrent(int row, int col);
    void clampCurrent();
    void applyCurrentToView();
    void syncViewCurrent();
    Range viewSelection() const;
    Range currentSelection() const;
    Range clampRange(Range r) const;
    void applySelectionToView(const Range& r);
    void onBatchStarted();
    void onBatchEnded();
    // Widens the last column over the room the others leave; its own width stays its minimum.
    void stretchLastColumn();

    ListingModel* mModel;
    int mRow = 0;
    int mCol = 0;
    int mInternal = 0;          // > 0 while our own changes move the view's current index
    bool mHiddenBatch = false;  // this grid's hiding opened a batch
    bool mViewCurrentPending = false;  // the view's current index has yet to follow row()/col()
    bool mStretching = false;   // the last column is being widened to the room left
    bool mResetting = false;    // the model is being reset: the header's resizes are not the user's
    std::vector<int> mWidths;   // column widths in pixels, kept while the view is not told
    // State held for the view while batching, applied when the batch ends.
    Range mPendingSel;
    int mPendingTop = 1;
    int mPendingLeft = 0;
};
