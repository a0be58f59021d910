#include "gui/OverdueRows.h"

#include <QCoreApplication>
#include <memory>

#include "gui/ListingModel.h"

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

void clearOverdueRows(ListingModel& listing)
{
    listing.setRowNotes({}, QColor());
}

QString markOverdueRows(ListingModel& listing, QHash<int, OverdueInfo> overdue)
{
    // Counted by record: a record on two rows is one overdue submission.
    const qsizetype count = overdue.size() - (overdue.contains(0) ? 1 : 0);
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
    listing.setRowNotes(std::move(notes), overdueShade());
    return tr("; %1 overdue (shaded orange)").arg(count);
}
