#include "gui/ListingModel.h"

#include <algorithm>

ListingModel::ListingModel(QObject* parent) : QAbstractTableModel(parent)
{
    mHeader.resize(mCols);
}

int ListingModel::dataRows() const
{
    return static_cast<int>(mCells.cells.size() / static_cast<size_t>(mCols));
}

quint32 ListingModel::addText(const QString& text)
{
    // Texts set one by one are few (blanking, a message row); once they outnumber the
    // cells, the ones no cell shows are dropped.
    if (mCells.texts.size() > 2 * mCells.cells.size() + 64) {
        CellTable kept;
        kept.cells.reserve(mCells.cells.size());
        std::vector<quint32> moved(mCells.texts.size(), 0);
        for (quint32 index : mCells.cells) {
            if (index != 0 && moved[index] == 0)
                moved[index] = kept.add(mCells.texts[index]);
            kept.cells.push_back(moved[index]);
        }
        mCells = std::move(kept);
    }
    return mCells.add(text);
}

int ListingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mShownRows;
}

int ListingModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mShownCols;
}

QVariant ListingModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.parent().isValid())
        return QVariant();
    if (role == Qt::BackgroundRole || role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        if (index.row() >= dataRows())
            return QVariant();
        const int id = mIds[static_cast<size_t>(index.row())];
        if (!hasNote(id))
            return QVariant();
        return role == Qt::BackgroundRole ? QVariant(mNoteBackground) : QVariant(mRowNotes.text(id));
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    // While batching a view may still ask for rows that have gone since it was told.
    if (index.row() >= dataRows() || index.column() >= mCols)
        return QString();
    return mCells.at(static_cast<size_t>(index.row()) * mCols + index.column());
}

QVariant ListingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section >= 0 && section < mHeader.size() ? mHeader.at(section) : QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ListingModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ListingModel::setRowNotes(RowNotes notes, const QColor& background)
{
    mRowNotes = std::move(notes);
    mNoteBackground = background;
    if (!batching() && mShownRows > 0)
        emit dataChanged(index(0, 0), index(mShownRows - 1, mShownCols - 1));
}

QString ListingModel::rowNote(int row) const
{
    if (row < 1 || row > dataRows())
        return QString();
    const int id = mIds[static_cast<size_t>(row - 1)];
    return hasNote(id) ? mRowNotes.text(id) : QString();
}

int ListingModel::rows() const
{
    return dataRows() + 1;
}

void ListingModel::setRows(int rows)
{
    const int wanted = std::max(rows, 1) - 1;
    const int old = dataRows();
    if (wanted == old)
        return;
    const bool tell = !batching();
    if (tell) {
        if (wanted > old)
            beginInsertRows(QModelIndex(), old, wanted - 1);
        else
            beginRemoveRows(QModelIndex(), wanted, old - 1);
    }
    mCells.cells.resize(static_cast<size_t>(wanted) * mCols);
    mIds.resize(static_cast<size_t>(wanted));
    if (tell) {
        mShownRows = wanted;
        if (wanted > old)
            endInsertRows();
        else
            endRemoveRows();
    } else {
        mDirty = true;
    }
}

int ListingModel::cols() const
{
    return mCols;
}

void ListingModel::setCols(int cols)
{
    const int wanted = std::max(cols, 1);
    if (wanted == mCols)
        return;
    const bool tell = !batching();
    if (tell) {
        if (wanted > mCols)
            beginInsertColumns(QModelIndex(), mCols, wanted - 1);
        else
            beginRemoveColumns(QModelIndex(), wanted, mCols - 1);
    }
    const int rowCount = dataRows();
    const int keep = std::min(wanted, mCols);
    std::vector<quint32> cells(static_cast<size_t>(rowCount) * wanted);
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < keep; ++c)
            cells[static_cast<size_t>(r) * wanted + c] = mCells.cells[static_cast<size_t>(r) * mCols + c];
    mCells.cells = std::move(cells);
    const bool more = wanted > mCols;
    mCols = wanted;
    mHeader.resize(mCols);
    if (tell) {
        mShownCols = mCols;
        if (more)
            endInsertColumns();
        else
            endRemoveColumns();
    } else {
        mDirty = true;
    }
}

QString ListingModel::cell(int row, int col) const
{
    if (col < 0 || col >= mCols || row < 0 || row > dataRows())
        return QString();
    if (row == 0)
        return mHeader.at(col);
    return mCells.at(static_cast<size_t>(row - 1) * mCols + col);
}

void ListingModel::setCell(int row, int col, const QString& text)
{
    if (col < 0 || col >= mCols || row < 0 || row > dataRows())
        return;
    if (row == 0) {
        mHeader[col] = text;
        if (!batching())
            emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    mCells.cells[static_cast<size_t>(row - 1) * mCols + col] = addText(text);
    if (!batching()) {
        const QModelIndex changed = index(row - 1, col);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void ListingModel::replaceRows(CellTable&& cells, std::vector<int>&& ids)
{
    const bool tell = !batching();
    if (tell)
        beginResetModel();
    mCells = std::move(cells);
    mIds = std::move(ids);
    mCells.cells.resize(mIds.size() * static_cast<size_t>(mCols));
    if (tell) {
        mShownRows = dataRows();
        mShownCols = mCols;
        endResetModel();
    } else {
        mDirty = true;
    }
}

int ListingModel::rowId(int row) const
{
    return row >= 1 && row <= dataRows() ? mIds[static_cast<size_t>(row - 1)] : 0;
}

int ListingModel::rowOfId(int id) const
{
    const auto found = std::find(mIds.begin(), mIds.end(), id);
    return found == mIds.end() ? 0 : static_cast<int>(found - mIds.begin()) + 1;
}

void ListingModel::beginBatch()
{
    if (mBatchDepth++ == 0) {
        mDirty = false;
        emit batchStarted();
    }
}

void ListingModel::endBatch()
{
    if (mBatchDepth == 0 || --mBatchDepth > 0)
        return;
    if (mDirty) {
        beginResetModel();
        mShownRows = dataRows();
        mShownCols = mCols;
        mDirty = false;
        endResetModel();
    }
    emit batchEnded();
}

// ---------------------------------------------------------------------------
// GridView
