#include "gui/OverdueRows.h"

#include <QCoreApplication>

#include "core/Overdue.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "gui/GridView.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("OverdueRows", text);
}

} // namespace

QColor overdueShade()
{
    // Light enough for black text to read well, far from the selection's blue.
    return QColor(255, 200, 170);
}

QString markOverdueRows(GridView& grid, Session& session, View view)
{
    ListingModel& model = *grid.gridModel();
    if (view != View::Submission || !session.database()) {
        model.setRowNotes({}, QColor());
        return QString();
    }
    QHash<int, OverdueInfo> overdue;
    try {
        overdue = overdueSubmissions(*session.database(), overdueRule(session));
    } catch (const RecordStoreError& e) {
        model.setRowNotes({}, QColor());
        return tr("; overdue submissions could not be found: %1").arg(e.message());
    }
    QHash<int, QString> notes;
    for (int row = 1; row < model.rows(); ++row) {
        const int id = model.rowId(row);
        const auto found = overdue.constFind(id);
        if (found == overdue.constEnd())
            continue;
        const QString text = found->publishersOwn
            ? tr("Overdue: sent %1 days ago; this publisher answers within %2 days")
            : tr("Overdue: sent %1 days ago; the Overdue-Days setting allows %2 days");
        notes.insert(id, text.arg(found->daysOut).arg(found->allowedDays));
    }
    model.setRowNotes(notes, overdueShade());
    return tr("; %1 overdue (shaded orange)").arg(notes.size());
}
