#pragma once
// The rows of a listing: text cells under one header row (row 0), each data row with the ID
// of the record it shows, so that a row never falls out of step with its record.
//
// While a batch is open (the grid is hidden for a fill), adding and removing rows emits no
// per-row model signals: attached views are reset once when the batch ends, so tens of
// thousands of rows fill fast.

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/ListingColumns.h"

class ListingModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListingModel(QObject* parent = nullptr);

    // While batching these report the size attached views last heard of, so a view
    // never asks for rows it was not told about; rows()/cols() are always current.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;    // data rows only
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // GridView-style operations; row numbers are grid rows (0 = header).
    int rows() const;
    void setRows(int rows);                 // keeps the first rows, adds blank ones
    int cols() const;
    void setCols(int cols);                 // at least 1
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    // Replaces every data row at once: cells row-major, cols() per row, one id per row.
    // Cells of a short last row are blank. The vectors are taken, not copied.
    void replaceRows(CellTable&& cells, std::vector<int>&& ids);
    // The data rows' cells as they are kept (cols() per row).
    const CellTable& cellTable() const { return mCells; }
    // The record a grid row shows; 0 for the header, a row without one, or no such row.
    int rowId(int row) const;
    // The first data row showing the record; 0 when none does.
    int rowOfId(int id) const;

    // Rows showing records that have a note get the background colour, and the note as
    // their cells' tooltip and accessible description (so a screen reader tells what the
    // colour does). Kept, by record, until set again. A note's text is made only when
    // asked for: a listing may have thousands of them and show a few.
    struct RowNotes {
        std::function<bool(int id)> has;
        std::function<QString(int id)> text;
    };
    void setRowNotes(RowNotes notes, const QColor& background);
    QString rowNote(int row) const;

    // While batching, changes emit no model signals; the endBatch() that closes the
    // outermost batch resets attached views once. Unbalanced endBatch() calls are ignored.
    void beginBatch();
    void endBatch();
    bool batching() const { return mBatchDepth > 0; }

signals:
    void batchStarted();  // the outermost batch began
    void batchEnded();    // the outermost batch ended; views have been reset

private:
    int dataRows() const;

    QStringList mHeader;
    quint32 addText(const QString& text);

    CellTable mCells;             // data rows, row-major, mCols per row
    std::vector<int> mIds;        // one per data row
    bool hasNote(int id) const { return id != 0 && mRowNotes.has && mRowNotes.has(id); }

    RowNotes mRowNotes;  // by record ID
    QColor mNoteBackground;
    int mCols = 1;
    int mBatchDepth = 0;
    bool mDirty = false;  // changed since the batch began
    int mShownRows = 0;  // sizes published to views (frozen while batching)
    int mShownCols = 1;
};
