#include "core/ListingReader.h"

#include "core/Listing.h"
#include "core/Overdue.h"
#include "core/Session.h"

FillResult readListing(const Session& session, View view, const QString& condition, int expectedRows)
{
    SQLite::Database* database = session.database();
    if (!database) {
        FillResult result;
        result.error = QStringLiteral("The database is not open.");
        return result;
    }
    const OverdueRule rule = overdueRule(session);
    return ReadFillRows(*database, view, FillStatement(view, condition), expectedRows,
                        view == View::Submission ? &rule : nullptr);
}
