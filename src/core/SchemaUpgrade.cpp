#include "core/SchemaUpgrade.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>
#include <string>

#include "core/Database.h"

namespace db {

namespace {

// Version 2: a publisher's own "answer within" days, shown by the views that list
// publishers and submissions.
void toVersion2(SQLite::Database& database)
{
    database.exec("ALTER TABLE Publisher ADD COLUMN Answer_Within_Days INTEGER;");
}

// Version 3: the log of imports, which undoing the last one reads.
void toVersion3(SQLite::Database& database)
{
    createImportLog(database);
}

// Version 4: money. A submission's fee and payment in the currency's smallest unit (Null:
// none) and the date the payment came (stored as the other dates: 0 for none); a
// publisher's rule on simultaneous submissions (1 yes, 0 no, Null not known) and usual fee.
void toVersion4(SQLite::Database& database)
{
    database.exec("ALTER TABLE Submission ADD COLUMN Fee INTEGER;"
                  "ALTER TABLE Submission ADD COLUMN Payment INTEGER;"
                  "ALTER TABLE Submission ADD COLUMN Date_Paid NOT NULL DEFAULT 0;"
                  "ALTER TABLE Publisher ADD COLUMN Simultaneous INTEGER;"
                  "ALTER TABLE Publisher ADD COLUMN Usual_Fee INTEGER;");
}

// The views list the columns of the latest version: made again once, after the last step.
void replaceViews(SQLite::Database& database)
{
    database.exec("DROP VIEW IF EXISTS Expanded_Work;");
    database.exec("DROP VIEW IF EXISTS Expanded_Publisher;");
    database.exec("DROP VIEW IF EXISTS Expanded_Submission;");
    createViews(database);
}

} // namespace

int schemaVersion(SQLite::Database& database)
{
    return database.execAndGet("PRAGMA user_version;").getInt();
}

bool upgradeSchema(SQLite::Database& database, QString* error)
{
    if (schemaVersion(database) >= kSchemaVersion)
        return true;
    try {
        // Taken for writing at once: another program opening the same old file waits here,
        // then finds it upgraded and does nothing.
        SQLite::Transaction transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
        int version = schemaVersion(database);
        if (version >= kSchemaVersion)
            return true;
        if (version < 2) {
            toVersion2(database);
            version = 2;
        }
        if (version < 3) {
            toVersion3(database);
            version = 3;
        }
        if (version < 4) {
            toVersion4(database);
            version = 4;
        }
        replaceViews(database);
        database.exec("PRAGMA user_version = " + std::to_string(version) + ";");
        transaction.commit();
    } catch (const std::exception& e) {
        if (isLockedByAnother(e))
            throw;
        if (error)
            *error = QStringLiteral("it could not be upgraded to this version's schema: %1")
                         .arg(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

} // namespace db
