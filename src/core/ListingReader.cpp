#include "core/ListingReader.h"

#include <optional>

#include "core/Cancellation.h"
#include "core/Listing.h"
#include "core/Overdue.h"
#include "core/Session.h"

FillResult readListing(const Session& session, View view, const QString& condition, int expectedRows,
                       Cancellation* cancellation)
{
    SQLite::Database* database = session.database();
    if (!database) {
        FillResult result;
        result.error = QStringLiteral("The database is not open.");
        return result;
    }
    std::optional<QueryGuard> guard;
    if (cancellation)
        guard.emplace(*database, *cancellation);
    const OverdueRule rule = session.overdueRule();
    const Currency currency = session.settings().currency();
    return readFillRows(*database, view, fillStatement(view, condition), expectedRows,
                        view == View::Submission ? &rule : nullptr, &currency);
}
