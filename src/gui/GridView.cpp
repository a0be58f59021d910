#include "gui/GridView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>
#include <numeric>

#include "gui/ListingModel.h"

GridView::GridView(QWidget* parent) : QTableView(parent), mModel(new ListingModel(this))
{
    setModel(mModel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);

    // Per-row sizing would visit every row of a large fill.
    QHeaderView* vertical = verticalHeader();
    vertical->hide();
    vertical->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* horizontal = horizontalHeader();
    horizontal->setSectionResizeMode(QHeaderView::Interactive);
    horizontal->setSectionsClickable(false);
    horizontal->setHighlightSections(false);
    horizontal->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Data rows as high as the header row, so the rows that fit follow from one height.
    vertical->setDefaultSectionSize(headerRowHeight());

    // The user's resizing is kept as the column's own width.
    connect(horizontal, &QHeaderView::sectionResized, this, [this](int index, int, int size) {
        if (mStretching || index < 0 || index >= static_cast<int>(mWidths.size()))
            return;
        mWidths[static_cast<size_t>(index)] = size;
        stretchLastColumn();
    });
    // A new listing brings new columns: their widths come with the next fit.
    connect(mModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { mWidths.clear(); });
}

void GridView::setCurrentCell(int row, int column)
{
    const QModelIndex index = mModel->index(row, column);
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void GridView::scrollToCell(int row, int column)
{
    // The scroll range follows the rows only once the delayed layout has run.
    executeDelayedItemsLayout();
    const int maxTop = std::max(mModel->rowCount() - visibleRows(), 0);
    verticalScrollBar()->setValue(std::min(std::max(row, 0), maxTop));
    horizontalScrollBar()->setValue(std::min(std::max(column, 0), mMaxLeftColumn));
}

int GridView::topRow() const
{
    return verticalScrollBar()->value();
}

int GridView::leftColumn() const
{
    return horizontalScrollBar()->value();
}

int GridView::columnWidthHeld(int column) const
{
    return column >= 0 && column < static_cast<int>(mWidths.size()) ? mWidths[static_cast<size_t>(column)] : 0;
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
    const int columns = mModel->columnCount();
    const int sample = std::min(mModel->rowCount(), std::max(sampleRows, 0));
    std::vector<int> widths;
    std::vector<int> spare;  // what a column may give up when the grid is too narrow
    // Cells share their texts (Yes and No, genres, dates): each is measured once.
    const CellTable& table = mModel->cellTable();
    std::vector<int> measured(table.texts.size(), -1);
    auto advance = [&](int r, int c) {
        if (mModel->recordCount() == 0)
            return cellMetrics.horizontalAdvance(mModel->cellText(r, c));
        const quint32 index = table.cells[static_cast<size_t>(r) * columns + c];
        int& width = measured[index];
        if (width < 0)
            width = cellMetrics.horizontalAdvance(table.texts[index]);
        return width;
    };
    for (int c = 0; c < columns; ++c) {
        QStyleOptionHeader option;
        option.initFrom(header);
        option.fontMetrics = header->fontMetrics();
        option.text = mModel->headerData(c, Qt::Horizontal).toString();
        option.section = c;
        const int caption = style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
        int cells = 0;
        for (int r = 0; r < sample; ++r)
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
    mWidths = widths;
    mStretching = true;
    for (int c = 0; c < columns; ++c)
        header->resizeSection(c, widths[static_cast<size_t>(c)]);
    mStretching = false;
    stretchLastColumn();
}

int GridView::headerRowHeight() const
{
    // The height of a header section with a caption, whether or not there are columns yet.
    const QHeaderView* header = horizontalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.fontMetrics = header->fontMetrics();
    option.text = QStringLiteral("Xg");
    const int section = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).height();
    return std::max({header->minimumHeight(), header->sizeHint().height(), section});
}

int GridView::visibleRows() const
{
    const int pitch = verticalHeader()->defaultSectionSize();
    return pitch > 0 ? viewport()->height() / pitch : 0;
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed();
        return;
    case Qt::Key_Insert:
        emit insertPressed();
        return;
    case Qt::Key_Delete:
        emit deletePressed();
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (ctrl && mModel->rowCount() > 0) {
            // The first cell with the view at its start, or the last with the view at its end.
            const bool end = event->key() == Qt::Key_End;
            const int row = end ? mModel->rowCount() - 1 : 0;
            const int column = end ? mModel->columnCount() - 1 : 0;
            setCurrentCell(row, column);
            scrollToCell(row, end ? mMaxLeftColumn : 0);
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    stretchLastColumn();
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
    const int last = std::min(header->count(), static_cast<int>(mWidths.size())) - 1;
    if (mStretching || last < 0)
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
