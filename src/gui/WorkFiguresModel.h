#pragma once
// The Statistics window's table of works: one row per work with submissions, read straight
// from the figures. A hundred thousand works would take hundreds of megabytes as table
// items; here each row is the figures themselves and a place in the shown order.

#include <QAbstractTableModel>
#include <QList>
#include <vector>

#include "core/Statistics.h"

class WorkFiguresModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kName, kSent, kPublishers, kAccepted, kLastSent, kColumns };

    explicit WorkFiguresModel(QObject* parent = nullptr);

    // Replaces the rows, in the order of the column last sorted by. figures come by name.
    void setFigures(QList<WorkFigures> figures);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void order();

    QList<WorkFigures> mFigures;  // by name, as they came
    std::vector<int> mShown;      // indexes into mFigures, in the shown order
    int mSortColumn = kName;
    Qt::SortOrder mSortOrder = Qt::AscendingOrder;
};
