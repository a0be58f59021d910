#include "gui/OverdueRows.h"

#include <QCoreApplication>
#include <QSet>
#include <memory>

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

QString markOverdueRows(GridView& grid, Session& session, View view, std::optional<QHash<int, OverdueInfo>> known)
{
    ListingModel& model = *grid.gridModel();
    if (view != View::Submission || !session.database()) {
        model.setRowNotes({}, QColor());
        return QString();
    }
    const bool fromFill = known.has_value();
    QHash<int, OverdueInfo> overdue;
    try {
        overdue = fromFill ? std::move(*known) : overdueSubmissions(*session.database(), session.overdueRule());
    } catch (const RecordStoreError& e) {
        model.setRowNotes({}, QColor());
        return tr("; overdue submissions could not be found: %1").arg(e.message());
    }
    // Counted by record, as listed: a record on two rows is one overdue submission. What
    // the fill found is already just the listed ones.
    qsizetype count = 0;
    if (fromFill) {
        count = overdue.size() - (overdue.contains(0) ? 1 : 0);
    } else {
        QSet<int> listed;
        for (int row = 1; row < model.rows(); ++row) {
            const int id = model.rowId(row);
            if (id != 0 && overdue.contains(id))
                listed.insert(id);
        }
        count = listed.size();
    }
    auto shared = std::make_shared<const QHash<int, OverdueInfo>>(std::move(overdue));
    ListingModel::RowNotes notes;
    notes.has = [shared](int id) { return shared->contains(id); };
    notes.text = [shared](int id) {
        const OverdueInfo info = shared->value(id);
        const QString text = info.publishersOwn
            ? tr("Overdue: sent %1 days ago; this publisher answers within %2 days")
            : tr("Overdue: sent %1 days ago; the Overdue-Days setting allows %2 days");
        return text.arg(info.daysOut).arg(info.allowedDays);
    };
    model.setRowNotes(std::move(notes), overdueShade());
    return tr("; %1 overdue (shaded orange)").arg(count);
}
