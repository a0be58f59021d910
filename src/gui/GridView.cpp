#include "gui/GridView.h"

#include <QHash>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>
#include <numeric>

GridView::GridView(QWidget* parent) : QTableView(parent), mModel(new ListingModel(this))
{
    setModel(mModel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setAlternatingRowColors(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);

    // Per-row sizing would visit every row of a large fill.
    QHeaderView* vertical = verticalHeader();
    vertical->hide();
    vertical->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* horizontal = horizontalHeader();
    horizontal->setSectionResizeMode(QHeaderView::Interactive);
    horizontal->setStretchLastSection(false);
    horizontal->setSectionsClickable(false);
    horizontal->setHighlightSections(false);
    horizontal->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Data rows as high as the header row, so the rows that fit follow from one height.
    vertical->setDefaultSectionSize(headerRowHeight());

    mWidths.assign(static_cast<size_t>(mModel->cols()), horizontal->defaultSectionSize());
    // Only the user's resizing is kept: the header's own reset after a batch gives every
    // column its default width, which must not replace the widths held for it.
    connect(horizontal, &QHeaderView::sectionResized, this, [this](int index, int, int size) {
        if (mModel->batching() || mResetting || mStretching || index < 0 || index >= static_cast<int>(mWidths.size()))
            return;
        mWidths[static_cast<size_t>(index)] = size;
        stretchLastColumn();
    });
    connect(mModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { mResetting = true; });
    connect(mModel, &QAbstractItemModel::modelReset, this, [this] { mResetting = false; });
    connect(mModel, &ListingModel::batchStarted, this, &GridView::onBatchStarted);
    connect(mModel, &ListingModel::batchEnded, this, &GridView::onBatchEnded);
}

int GridView::rows() const
{
    return mModel->rows();
}

void GridView::setRows(int rows)
{
    ++mInternal;
    mModel->setRows(rows);
    --mInternal;
    clampCurrent();
    applyCurrentToView();
}

int GridView::cols() const
{
    return mModel->cols();
}

void GridView::setCols(int cols)
{
    ++mInternal;
    mModel->setCols(cols);
    --mInternal;
    mWidths.resize(static_cast<size_t>(mModel->cols()), horizontalHeader()->defaultSectionSize());
    clampCurrent();
    applyCurrentToView();
}

int GridView::row() const
{
    return mRow;
}

void GridView::setRow(int row)
{
    if (row >= 0 && row < rows())
        moveCurrent(row, mCol);
}

int GridView::col() const
{
    return mCol;
}

void GridView::setCol(int col)
{
    if (col >= 0 && col < cols())
        moveCurrent(mRow, col);
}

QString GridView::text() const
{
    return mModel->cell(mRow, mCol);
}

void GridView::setText(const QString& text)
{
    mModel->setCell(mRow, mCol, text);
}

QString GridView::cellText(int row, int col) const
{
    return mModel->cell(row, col);
}

int GridView::colWidth(int col) const
{
    if (col < 0 || col >= static_cast<int>(mWidths.size()))
        return 0;
    return mWidths[static_cast<size_t>(col)];
}

void GridView::setColWidth(int col, int pixels)
{
    if (col < 0 || col >= static_cast<int>(mWidths.size()))
        return;
    pixels = std::max(pixels, 0);
    mWidths[static_cast<size_t>(col)] = pixels;
    if (!mModel->batching())
        horizontalHeader()->resizeSection(col, pixels);
}

void GridView::fitColumnsToContents(int sampleRows)
{
    ensurePolished();
    QHeaderView* header = horizontalHeader();
    header->ensurePolished();
    const QFontMetrics cellMetrics = fontMetrics();
    // What the item delegate puts around a cell's text, the grid line, and a little air.
    const int cellPadding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1
        + cellMetrics.averageCharWidth();
    // A long text may take a good part of a wide grid, but never crowds out the others.
    const int widest = std::max(50 * cellMetrics.averageCharWidth(), viewport()->width() * 2 / 5);
    // Texts shorter than this (dates, years, Yes and No, short names) are never cut.
    const int shortest = 20 * cellMetrics.averageCharWidth() + cellPadding;
    const int lastRow = std::min(rows() - 1, std::max(sampleRows, 0));
    std::vector<int> widths;
    std::vector<int> spare;  // what a column may give up when the grid is too narrow
    // Cells share their texts (Yes and No, genres, dates): each is measured once.
    const CellTable& table = mModel->cellTable();
    std::vector<int> measured(table.texts.size(), -1);
    auto advance = [&](int r, int c) {
        const quint32 index = table.cells[static_cast<size_t>(r - 1) * cols() + c];
        int& width = measured[index];
        if (width < 0)
            width = cellMetrics.horizontalAdvance(table.texts[index]);
        return width;
    };
    for (int c = 0; c < cols(); ++c) {
        QStyleOptionHeader option;
        option.initFrom(header);
        option.fontMetrics = header->fontMetrics();
        option.text = mModel->cell(0, c);
        option.section = c;
        const int caption = style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
        int cells = 0;
        for (int r = 1; r <= lastRow; ++r)
            cells = std::max(cells, advance(r, c));
        const int width = std::max(caption, std::min(cells + cellPadding, widest));
        widths.push_back(width);
        spare.push_back(std::max(0, width - std::max(caption, shortest)));
    }
    // When every column cannot show whole, the long texts give up room in proportion to what
    // they can spare, so that the short ones (dates above all) and every header stay in view.
    const int total = std::accumulate(widths.begin(), widths.end(), 0);
    const int spareTotal = std::accumulate(spare.begin(), spare.end(), 0);
    const int excess = std::min(total - viewport()->width(), spareTotal);
    if (excess > 0) {
        int given = 0;
        for (size_t c = 0; c < widths.size(); ++c) {
            const int part = static_cast<int>(static_cast<long long>(excess) * spare[c] / spareTotal);
            widths[c] -= part;
            spare[c] -= part;
            given += part;
        }
        // What rounding left over comes from the column with the most to spare.
        const auto most = std::max_element(spare.begin(), spare.end()) - spare.begin();
        widths[static_cast<size_t>(most)] -= std::min(excess - given, spare[static_cast<size_t>(most)]);
    }
    for (size_t c = 0; c < widths.size(); ++c)
        setColWidth(static_cast<int>(c), widths[c]);
}

void GridView::replaceRows(CellTable&& cells, std::vector<int>&& ids)
{
    // Every row the highlight covered is gone, as the view's own reset would have it.
    if (mModel->batching())
        mPendingSel = Range{};
    ++mInternal;
    mModel->replaceRows(std::move(cells), std::move(ids));
    --mInternal;
    clampCurrent();
    applyCurrentToView();
}

int GridView::selStartRow() const
{
    return currentSelection().top;
}

int GridView::selEndRow() const
{
    return currentSelection().bottom;
}

int GridView::selStartCol() const
{
    return currentSelection().left;
}

int GridView::selEndCol() const
{
    return currentSelection().right;
}

void GridView::setSelectionRange(int startRow, int startCol, int endRow, int endCol)
{
    Range range;
    range.top = std::min(startRow, endRow);
    range.bottom = std::max(startRow, endRow);
    range.left = std::min(startCol, endCol);
    range.right = std::max(startCol, endCol);
    if (mModel->batching())
        mPendingSel = range;
    else
        applySelectionToView(clampRange(range));
}

int GridView::topRow() const
{
    if (mModel->batching())
        return mPendingTop;
    return verticalScrollBar()->value() + 1;
}

void GridView::setTopRow(int row)
{
    const int top = std::clamp(row, 1, std::max(rows() - 1, 1));
    if (mModel->batching()) {
        mPendingTop = top;
        return;
    }
    // The scroll range follows the rows only once the delayed layout has run.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(top - 1);
}

int GridView::leftCol() const
{
    if (mModel->batching())
        return mPendingLeft;
    return horizontalScrollBar()->value();
}

void GridView::setLeftCol(int col)
{
    const int left = std::clamp(col, 0, cols() - 1);
    if (mModel->batching()) {
        mPendingLeft = left;
        return;
    }
    executeDelayedItemsLayout();
    horizontalScrollBar()->setValue(left);
}

int GridView::headerRowHeight() const
{
    const QHeaderView* header = horizontalHeader();
    return std::max(header->minimumHeight(), header->sizeHint().height());
}

int GridView::visibleRows() const
{
    const int pitch = verticalHeader()->defaultSectionSize();
    return pitch > 0 ? viewport()->height() / pitch : 0;
}

void GridView::setVisible(bool visible)
{
    // Qt also calls this (for example when the parent is shown), so only the hide
    // that opened a batch may close it, and only once.
    if (!visible && !mHiddenBatch) {
        mHiddenBatch = true;
        mModel->beginBatch();
    }
    QTableView::setVisible(visible);
    if (visible && mHiddenBatch) {
        mHiddenBatch = false;
        mModel->endBatch();
    }
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    syncViewCurrent();
    bool consumed = false;
    emit keyDown(event, &consumed);
    if (consumed) {
        event->accept();
        return;
    }
    // The handler may have moved the current cell.
    syncViewCurrent();
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    syncViewCurrent();
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit cellClicked();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    syncViewCurrent();
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit cellDoubleClicked();
}

void GridView::focusInEvent(QFocusEvent* event)
{
    syncViewCurrent();
    QTableView::focusInEvent(event);
}

void GridView::paintEvent(QPaintEvent* event)
{
    syncViewCurrent();
    QTableView::paintEvent(event);
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    stretchLastColumn();
    emit resized();
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    // A scroll bar coming or going changes the room the last column may take.
    stretchLastColumn();
}

void GridView::stretchLastColumn()
{
    QHeaderView* header = horizontalHeader();
    const int last = std::min({cols(), header->count(), static_cast<int>(mWidths.size())}) - 1;
    if (mStretching || mResetting || mModel->batching() || last < 0)
        return;
    int others = 0;
    for (int c = 0; c < last; ++c)
        others += header->sectionSize(c);
    // The room left, but never less than the column's own width: then the grid scrolls.
    const int room = viewport()->width() - others;
    const int wanted = std::max(mWidths[static_cast<size_t>(last)], room);
    if (header->sectionSize(last) == wanted)
        return;
    mStretching = true;
    header->resizeSection(last, wanted);
    mStretching = false;
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // Our own moves are reported by moveCurrent; the view's reaction to rows being
    // removed or reset is not a move of the grid's current cell.
    if (mInternal > 0 || mModel->batching() || !current.isValid())
        return;
    const int row = current.row() + 1;
    const int col = current.column();
    if (row == mRow && col == mCol)
        return;
    mRow = row;
    mCol = col;
    emit currentCellChanged();
}

void GridView::moveCurrent(int row, int col)
{
    const bool changed = row != mRow || col != mCol;
    mRow = row;
    mCol = col;
    applyCurrentToView();
    if (changed)
        emit currentCellChanged();
}

void GridView::clampCurrent()
{
    const int row = std::min(mRow, rows() - 1);
    const int col = std::min(mCol, cols() - 1);
    if (row != mRow || col != mCol)
        moveCurrent(row, col);
}

void GridView::applyCurrentToView()
{
    // The header row has no index in the view; the view keeps its last data cell.
    if (mModel->batching() || mRow < 1)
        return;
    // A search makes every cell current in turn; the view follows once, when events
    // next run or before it needs its current index itself.
    if (!mViewCurrentPending) {
        mViewCurrentPending = true;
        QMetaObject::invokeMethod(this, &GridView::syncViewCurrent, Qt::QueuedConnection);
    }
}

void GridView::syncViewCurrent()
{
    if (!mViewCurrentPending)
        return;
    mViewCurrentPending = false;
    if (mModel->batching() || mRow < 1)
        return;
    const QModelIndex index = mModel->index(mRow - 1, mCol);
    if (!index.isValid() || index == currentIndex())
        return;
    ++mInternal;
    // Making a cell current from code neither scrolls nor changes the highlight.
    const bool scroll = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    setAutoScroll(scroll);
    --mInternal;
}

GridView::Range GridView::viewSelection() const
{
    Range range;
    const QItemSelection selection = selectionModel()->selection();
    bool first = true;
    for (const QItemSelectionRange& part : selection) {
        if (!part.isValid())
            continue;
        if (first) {
            range.top = part.top() + 1;
            range.bottom = part.bottom() + 1;
            range.left = part.left();
            range.right = part.right();
            first = false;
        } else {
            range.top = std::min(range.top, part.top() + 1);
            range.bottom = std::max(range.bottom, part.bottom() + 1);
            range.left = std::min(range.left, part.left());
            range.right = std::max(range.right, part.right());
        }
    }
    return range;
}

GridView::Range GridView::currentSelection() const
{
    Range range = clampRange(mModel->batching() ? mPendingSel : viewSelection());
    if (range.empty()) {
        range.top = range.bottom = mRow;
        range.left = range.right = mCol;
    }
    return range;
}

GridView::Range GridView::clampRange(Range range) const
{
    if (range.empty())
        return Range();
    range.top = std::max(range.top, 1);
    range.bottom = std::min(range.bottom, rows() - 1);
    range.left = std::max(range.left, 0);
    range.right = std::min(range.right, cols() - 1);
    return range.empty() ? Range() : range;
}

void GridView::applySelectionToView(const Range& range)
{
    if (range.empty()) {
        selectionModel()->clearSelection();
        return;
    }
    const QItemSelection selection(mModel->index(range.top - 1, range.left),
                                   mModel->index(range.bottom - 1, range.right));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void GridView::onBatchStarted()
{
    // The view is about to fall behind the model: hold what it shows now.
    mPendingSel = viewSelection();
    mPendingTop = verticalScrollBar()->value() + 1;
    mPendingLeft = horizontalScrollBar()->value();
}

void GridView::onBatchEnded()
{
    ++mInternal;
    QHeaderView* header = horizontalHeader();
    const int count = std::min(cols(), header->count());
    for (int c = 0; c < count; ++c)
        header->resizeSection(c, mWidths[static_cast<size_t>(c)]);
    --mInternal;
    stretchLastColumn();
    applySelectionToView(clampRange(mPendingSel));
    clampCurrent();
    applyCurrentToView();
    syncViewCurrent();
    setTopRow(mPendingTop);
    setLeftCol(mPendingLeft);
}
