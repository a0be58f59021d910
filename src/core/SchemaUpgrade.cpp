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
    // createViews() makes all three.
    database.exec("DROP VIEW IF EXISTS Expanded_Work;");
    database.exec("DROP VIEW IF EXISTS Expanded_Publisher;");
    database.exec("DROP VIEW IF EXISTS Expanded_Submission;");
    createViews(database);
}

// Version 3: the log of imports, which undoing the last one reads.
void toVersion3(SQLite::Database& database)
{
    createImportLog(database);
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
