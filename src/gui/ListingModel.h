#pragma once
// What the main window lists: the view's columns, the cell texts of its records and each
// row's record ID. Read-only; each fill replaces it whole, so attached views are reset once
// however many rows come.
//
// A listing without records shows one row with a "nothing found" text. That row is no
// record: recordCount() is 0 and it has no ID.

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/ListingColumns.h"

class ListingModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListingModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces everything in one reset: cells row-major, headers.size() per row, one ID per
    // row (a short last row is padded with blanks). emptyText is shown when there are no rows.
    void setListing(const QStringList& headers, CellTable&& cells, std::vector<int>&& ids,
                    const QString& emptyText = QString());

    int recordCount() const { return static_cast<int>(mIds.size()); }
    // The record a row shows; 0 for the "nothing found" row or no such row.
    int recordId(int row) const;
    // The first row showing the record; -1 when none does.
    int rowOfRecord(int id) const;
    QString cellText(int row, int column) const;
    // The records' cells as they are kept (columnCount() per row).
    const CellTable& cellTable() const { return mCells; }

    // Rows showing records that have a note get the background colour, and the note as
    // their cells' tooltip and accessible description (so a screen reader tells what the
    // colour does). Kept, by record, until set again. A note's text is made only when asked
    // for: a listing may have thousands of them and show a few.
    struct RowNotes {
        std::function<bool(int id)> has;
        std::function<QString(int id)> text;
    };
    void setRowNotes(RowNotes notes, const QColor& background);
    QString rowNote(int row) const;

private:
    bool hasNote(int id) const { return id != 0 && mRowNotes.has && mRowNotes.has(id); }

    QStringList mHeaders;
    CellTable mCells;
    std::vector<int> mIds;
    QString mEmptyText;
    RowNotes mRowNotes;
    QColor mNoteBackground;
};
