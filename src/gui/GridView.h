#pragma once
// The main window's grid: a table view of the listing with the grid's own keys (Ctrl+Home,
// Ctrl+End), the whole current row highlighted, and columns sized to their contents.

#include <QTableView>
#include <vector>

class ListingModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    ListingModel* listingModel() const { return mModel; }

    // The current cell (-1 when there is none).
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    // Makes the cell current with its whole row highlighted. Out-of-range cells are ignored.
    void setCurrentCell(int row, int column);
    // Scrolls so the cell is in view, as near the top left as the last row and the view's
    // last column allow.
    void scrollToCell(int row, int column);
    int topRow() const;
    int leftColumn() const;
    // The left column that brings the last column into view (Ctrl+End, Find).
    void setMaxLeftColumn(int column) { mMaxLeftColumn = column; }

    int columnWidthHeld(int column) const;
    // Sizes every column to its header caption and the cells of the first sampleRows rows
    // (a large fill is never measured in full). A header is never cut, nor a short text such
    // as a date; a long text is cut where it is wider than a sensible column, or where the
    // columns would not otherwise fit in the grid. The last column also takes whatever room
    // is left.
    void fitColumnsToContents(int sampleRows = 300);

    // Height of the header row in pixels; data rows have the same height.
    int headerRowHeight() const;
    // Data rows that fit whole in the grid as it is now sized.
    int visibleRows() const;

signals:
    // Keys that start commands; the grid does nothing else with them.
    void enterPressed();
    void insertPressed();
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    // Widens the last column over the room the others leave; its own width stays its minimum.
    void stretchLastColumn();

    ListingModel* mModel;
    int mMaxLeftColumn = 0;
    bool mStretching = false;   // the last column is being widened to the room left
    std::vector<int> mWidths;   // each column's own width in pixels, the last one's unstretched
};
