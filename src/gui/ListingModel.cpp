#include "gui/ListingModel.h"

#include <algorithm>

ListingModel::ListingModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListingModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return mIds.empty() && !mEmptyText.isEmpty() ? 1 : recordCount();
}

int ListingModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mHeaders.size());
}

QString ListingModel::cellText(int row, int column) const
{
    if (column < 0 || column >= mHeaders.size() || row < 0)
        return QString();
    if (mIds.empty())
        return row == 0 && column == 0 ? mEmptyText : QString();
    if (row >= recordCount())
        return QString();
    return mCells.at(static_cast<size_t>(row) * mHeaders.size() + column);
}

QVariant ListingModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::BackgroundRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        const int id = recordId(index.row());
        if (!hasNote(id))
            return QVariant();
        return role == Qt::BackgroundRole ? QVariant(mNoteBackground) : QVariant(mRowNotes.text(id));
    }
    default:
        return QVariant();
    }
}

QVariant ListingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section >= 0 && section < mHeaders.size() ? mHeaders.at(section) : QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ListingModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ListingModel::setListing(const QStringList& headers, CellTable&& cells, std::vector<int>&& ids,
                              const QString& emptyText)
{
    beginResetModel();
    mHeaders = headers;
    mCells = std::move(cells);
    mIds = std::move(ids);
    mCells.cells.resize(mIds.size() * static_cast<size_t>(mHeaders.size()));
    mEmptyText = emptyText;
    endResetModel();
}

int ListingModel::recordId(int row) const
{
    return row >= 0 && row < recordCount() ? mIds[static_cast<size_t>(row)] : 0;
}

int ListingModel::rowOfRecord(int id) const
{
    const auto found = std::find(mIds.begin(), mIds.end(), id);
    return found == mIds.end() ? -1 : static_cast<int>(found - mIds.begin());
}

void ListingModel::setRowNotes(RowNotes notes, const QColor& background)
{
    mRowNotes = std::move(notes);
    mNoteBackground = background;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

QString ListingModel::rowNote(int row) const
{
    const int id = recordId(row);
    return hasNote(id) ? mRowNotes.text(id) : QString();
}
