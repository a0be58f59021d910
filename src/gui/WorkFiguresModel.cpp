#include "gui/WorkFiguresModel.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

WorkFiguresModel::WorkFiguresModel(QObject* parent) : QAbstractTableModel(parent) {}

void WorkFiguresModel::setFigures(QList<WorkFigures> figures)
{
    beginResetModel();
    mFigures = std::move(figures);
    mShown.resize(static_cast<size_t>(mFigures.size()));
    order();
    endResetModel();
}

int WorkFiguresModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mShown.size());
}

int WorkFiguresModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant WorkFiguresModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const WorkFigures& f = mFigures[mShown[static_cast<size_t>(index.row())]];
    if (role == Qt::TextAlignmentRole && index.column() != kName)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case kName:
        return f.exists ? f.name : tr("(deleted work %1)").arg(f.workId);
    case kSent:
        return QString::number(f.sent);
    case kPublishers:
        return QString::number(f.publishers);
    case kAccepted:
        return QString::number(f.accepted);
    case kLastSent:
        return f.lastSent.isValid() ? QLocale().toString(f.lastSent, QLocale::ShortFormat) : QString();
    default:
        return QVariant();
    }
}

QVariant WorkFiguresModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case kName:
        return tr("Work");
    case kSent:
        return tr("Sent");
    case kPublishers:
        return tr("Publishers");
    case kAccepted:
        return tr("Accepted");
    case kLastSent:
        return tr("Last sent");
    default:
        return QVariant();
    }
}

void WorkFiguresModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection and the current row follow their works to their new places.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> works;
    for (const QModelIndex& index : before)
        works.push_back(mShown[static_cast<size_t>(index.row())]);
    mSortColumn = column;
    mSortOrder = order;
    this->order();
    std::vector<int> rowOf(mShown.size());
    for (size_t row = 0; row < mShown.size(); ++row)
        rowOf[static_cast<size_t>(mShown[row])] = static_cast<int>(row);
    QModelIndexList after;
    for (size_t i = 0; i < works.size(); ++i)
        after << index(rowOf[static_cast<size_t>(works[i])], before[static_cast<qsizetype>(i)].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void WorkFiguresModel::order()
{
    // The figures come in name order (deleted works last), so that order is the
    // ties' order and the name column's own.
    std::iota(mShown.begin(), mShown.end(), 0);
    auto value = [this](int at) -> qint64 {
        const WorkFigures& f = mFigures[at];
        switch (mSortColumn) {
        case kSent:
            return f.sent;
        case kPublishers:
            return f.publishers;
        case kAccepted:
            return f.accepted;
        case kLastSent:
            return f.lastSent.isValid() ? f.lastSent.toJulianDay() : 0;
        default:
            return at;
        }
    };
    std::stable_sort(mShown.begin(), mShown.end(), [&value](int a, int b) { return value(a) < value(b); });
    if (mSortOrder == Qt::DescendingOrder)
        std::reverse(mShown.begin(), mShown.end());
}
