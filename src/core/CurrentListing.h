#pragma once
// What the main window lists, in one place: the view, its saved selections and the one
// chosen, the condition it resolved to, the record to make current after the next fill,
// and whether the last fill listed any record. The commands ask it, never a widget.

#include <QString>
#include <QVector>
#include <functional>

#include "core/Listing.h"
#include "core/View.h"

class CurrentListing {
public:
    View view() const { return mView; }
    // Another view (or the same one again) with its saved selections; chosen: -1 for none.
    void setView(View view, QVector<Selection> selections, int chosen);
    const QVector<Selection>& selections() const { return mSelections; }
    int chosen() const { return mChosen; }
    // Out-of-range chooses none.
    void choose(int index);

    // The condition of the next fill: empty for all records; else the chosen selection's,
    // each placeholder replaced by what ask(caption) returns. After a save the condition this
    // same selection of this same view resolved to last is reused without asking.
    QString conditionForFill(const std::function<QString(const QString& caption)>& ask);
    const QString& resolvedCondition() const { return mResolved; }

    // A record was written since the listing was filled (kept until the next fill with a
    // condition, or the refresh after the save).
    bool dataChanged() const { return mDataChanged; }
    void setDataChanged(bool changed) { mDataChanged = changed; }

    // The record to make current after a fill; 0 for none.
    int recordToSelect() const { return mSelectId; }
    void setRecordToSelect(int id) { mSelectId = id; }

    // What the last fill listed; nothing before the first.
    void setListed(int records) { mRecords = records; }
    int recordCount() const { return mRecords; }
    bool hasRecords() const { return mRecords > 0; }

private:
    View mView = View::Work;
    QVector<Selection> mSelections;
    int mChosen = -1;
    QString mResolved;
    int mResolvedChoice = -1;          // the selection that produced mResolved
    View mResolvedView = View::Work;   // and its view
    bool mDataChanged = false;
    int mSelectId = 0;
    int mRecords = 0;
};
