#include "core/Schema.h"

#include <QStringList>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <string>
#include <vector>

#include "core/EngineError.h"

namespace db {

namespace {

const char* const kSchema = R"SQL(
CREATE TABLE Genre (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Description_Singular TEXT NOT NULL DEFAULT '',
    Description_Plural TEXT NOT NULL DEFAULT ''
);
CREATE TABLE Publisher_Type (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Description TEXT NOT NULL DEFAULT ''
);
CREATE TABLE Work (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT NOT NULL COLLATE NOCASE,
    Genre_ID INTEGER,
    Year_Written TEXT NOT NULL DEFAULT '',
    Year_Last_Amended TEXT,
    "Submit?" INTEGER NOT NULL DEFAULT 0,
    "Submitted?" INTEGER NOT NULL DEFAULT 0,
    "Accepted?" INTEGER NOT NULL DEFAULT 0,
    "Published?" INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE Publisher (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT NOT NULL COLLATE NOCASE,
    Type_ID INTEGER,
    Guidelines TEXT,
    Comments TEXT,
    Address TEXT,
    "Submit_To?" INTEGER NOT NULL DEFAULT 0,
    "Submitted_To?" INTEGER NOT NULL DEFAULT 0,
    "E-Mail_Address" TEXT,
    Web_Address TEXT,
    Answer_Within_Days INTEGER,
    Simultaneous INTEGER,
    Usual_Fee INTEGER
);
CREATE TABLE Submission (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Work_ID INTEGER NOT NULL,
    Publisher_ID INTEGER NOT NULL,
    Date_Submitted NOT NULL DEFAULT 0,
    Date_Returned NOT NULL DEFAULT 0,
    Status INTEGER NOT NULL DEFAULT 0,
    Outcome TEXT,
    Notes TEXT,
    Fee INTEGER,
    Payment INTEGER,
    Date_Paid NOT NULL DEFAULT 0
);
CREATE TABLE Publisher_Genre (
    Publisher_ID INTEGER NOT NULL,
    Genre_ID INTEGER NOT NULL,
    PRIMARY KEY (Publisher_ID, Genre_ID)
);

-- The outstanding-submission date and the counts look submissions up by work or
-- publisher and status; the views are listed by name.
CREATE INDEX Submission_Work_Status ON Submission (Work_ID, Status);
CREATE INDEX Submission_Publisher_Status ON Submission (Publisher_ID, Status);
CREATE INDEX Work_Name ON Work (Name);
CREATE INDEX Publisher_Name ON Publisher (Name);

)SQL";

// Indexes that spare the listings a scan or a sort. Files made before they existed get
// them at open (see ensureIndexes), so each is created only when missing.
const char* const kListingIndexes[][2] = {
    // The Work view's outstanding date: found in the index alone, without a table lookup
    // per work.
    {"Submission_Work_Status_Date",
     "CREATE INDEX IF NOT EXISTS Submission_Work_Status_Date ON Submission (Work_ID, Status, Date_Submitted);"},
};

const char* const kViews = R"SQL(
-- One row per work. A submission stored without a date (the value 0) gives no date,
-- so the listing never shows the zero date.
CREATE VIEW Expanded_Work AS
SELECT w.ID AS ID,
       w.Name AS Name,
       g.Description_Singular AS Description_Singular,
       w.Year_Written AS Year_Written,
       w.Year_Last_Amended AS Year_Last_Amended,
       w."Submit?" AS "Submit?",
       w."Submitted?" AS "Submitted?",
       w."Accepted?" AS "Accepted?",
       w."Published?" AS "Published?",
       (SELECT Max(s.Date_Submitted) FROM Submission AS s
         WHERE s.Work_ID = w.ID AND s.Status = 0
           AND typeof(s.Date_Submitted) = 'text' AND s.Date_Submitted <> '') AS Date_Submitted
FROM Work AS w
LEFT JOIN Genre AS g ON g.ID = w.Genre_ID;

CREATE VIEW Expanded_Publisher AS
SELECT p.ID AS ID,
       p.Name AS Name,
       t.Description AS Type,
       p.Guidelines AS Guidelines,
       p.Comments AS Comments,
       p."Submit_To?" AS "Submit_To?",
       p."Submitted_To?" AS "Submitted_To?",
       p.Address AS Address,
       p."E-Mail_Address" AS "E-Mail_Address",
       p.Web_Address AS Web_Address,
       p.Type_ID AS Type_ID,
       p.Answer_Within_Days AS Answer_Within_Days,
       p.Simultaneous AS Simultaneous,
       p.Usual_Fee AS Usual_Fee
FROM Publisher AS p
LEFT JOIN Publisher_Type AS t ON t.ID = p.Type_ID;

-- Outer joins: a submission whose work or publisher was deleted is still listed.
CREATE VIEW Expanded_Submission AS
SELECT s.ID AS ID,
       w.Name AS Work,
       p.Name AS Publisher,
       s.Date_Submitted AS Date_Submitted,
       s.Date_Returned AS Date_Returned,
       CASE s.Status WHEN 0 THEN 'Unreturned' WHEN 1 THEN 'Rejected'
                     WHEN 2 THEN 'Accepted' WHEN 3 THEN 'Published' ELSE '' END AS Status_Desc,
       s.Outcome AS Outcome,
       s.Notes AS Notes,
       s.Status AS Status,
       s.Work_ID AS Work_ID,
       s.Publisher_ID AS Publisher_ID,
       p.Answer_Within_Days AS Answer_Within_Days,
       s.Fee AS Fee,
       s.Payment AS Payment,
       s.Date_Paid AS Date_Paid
FROM Submission AS s
LEFT JOIN Work AS w ON w.ID = s.Work_ID
LEFT JOIN Publisher AS p ON p.ID = s.Publisher_ID;
)SQL";

struct Genre {
    const char* singular;
    const char* plural;
};

const Genre kGenres[] = {
    {"Short Story", "Short Stories"},
    {"Flash Fiction", "Flash Fiction"},
    {"Novel", "Novels"},
    {"Novella", "Novellas"},
    {"Poem", "Poems"},
    {"Article", "Articles"},
    {"Essay", "Essays"},
    {"Non-Fiction", "Non-Fiction"},
    {"Review", "Reviews"},
    {"Play", "Plays"},
    {"Script", "Scripts"},
    {"Radio Play", "Radio Plays"},
    {"Children's Story", "Children's Stories"},
    {"Song Lyric", "Song Lyrics"},
};

const char* const kPublisherTypes[] = {
    "Magazine",   "Literary Journal", "Book Publisher", "Anthology", "Competition",
    "Web Site",   "Literary Agent",   "Newspaper",      "Radio",     "Theatre",
};

// What this program needs of a file: each table and view with the columns it reads.
struct Required {
    const char* type;
    const char* name;
    QStringList columns;
};

const QList<Required>& requiredObjects()
{
    static const QList<Required> objects = {
        {"table", "Genre", {"ID", "Description_Singular", "Description_Plural"}},
        {"table", "Publisher_Type", {"ID", "Description"}},
        {"table", "Work",
         {"ID", "Name", "Genre_ID", "Year_Written", "Year_Last_Amended", "Submit?", "Submitted?",
          "Accepted?", "Published?"}},
        {"table", "Publisher",
         {"ID", "Name", "Type_ID", "Guidelines", "Comments", "Address", "Submit_To?",
          "Submitted_To?", "E-Mail_Address", "Web_Address"}},
        {"table", "Submission",
         {"ID", "Work_ID", "Publisher_ID", "Date_Submitted", "Date_Returned", "Status", "Outcome",
          "Notes"}},
        {"table", "Publisher_Genre", {"Publisher_ID", "Genre_ID"}},
        {"view", "Expanded_Work",
         {"ID", "Name", "Description_Singular", "Year_Written", "Year_Last_Amended", "Submit?",
          "Submitted?", "Accepted?", "Published?", "Date_Submitted"}},
        {"view", "Expanded_Publisher",
         {"ID", "Name", "Type", "Guidelines", "Comments", "Submit_To?", "Submitted_To?",
          "Address", "E-Mail_Address", "Web_Address", "Type_ID"}},
        {"view", "Expanded_Submission",
         {"ID", "Work", "Publisher", "Date_Submitted", "Date_Returned", "Status_Desc", "Outcome",
          "Notes", "Status", "Work_ID", "Publisher_ID"}},
    };
    return objects;
}

// Columns added by a later schema version: a file of an older version lacks them until it
// is upgraded at open.
struct AddedColumn {
    const char* object;
    const char* column;
    int version;
};

const AddedColumn kAddedColumns[] = {
    {"Publisher", "Answer_Within_Days", 2},
    {"Expanded_Publisher", "Answer_Within_Days", 2},
    {"Expanded_Submission", "Answer_Within_Days", 2},
    {"Publisher", "Simultaneous", 4},
    {"Publisher", "Usual_Fee", 4},
    {"Submission", "Fee", 4},
    {"Submission", "Payment", 4},
    {"Submission", "Date_Paid", 4},
    {"Expanded_Publisher", "Simultaneous", 4},
    {"Expanded_Publisher", "Usual_Fee", 4},
    {"Expanded_Submission", "Fee", 4},
    {"Expanded_Submission", "Payment", 4},
    {"Expanded_Submission", "Date_Paid", 4},
};

// One row per import; per table it added to, one row with the IDs it added and a
// fingerprint of each record as it was written (see CsvImport.h).
const char* const kImportLog = R"SQL(
CREATE TABLE Import_Log (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Imported_At TEXT NOT NULL,
    File_Name TEXT NOT NULL,
    Kind TEXT NOT NULL,
    Added INTEGER NOT NULL DEFAULT 0,
    Already_There INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE Import_Added (
    Import_ID INTEGER NOT NULL,
    Table_Name TEXT NOT NULL,
    Records BLOB NOT NULL,
    PRIMARY KEY (Import_ID, Table_Name)
);
)SQL";

} // namespace

void createViews(SQLite::Database& database)
{
    database.exec(kViews);
}

void createImportLog(SQLite::Database& database)
{
    database.exec(kImportLog);
}

void createSchema(SQLite::Database& database)
{
    SQLite::Transaction transaction(database);
    database.exec(kSchema);
    for (const auto& index : kListingIndexes)
        database.exec(index[1]);
    createViews(database);
    createImportLog(database);

    SQLite::Statement genre(database,
        "INSERT INTO Genre (Description_Singular, Description_Plural) VALUES (?, ?);");
    for (const Genre& g : kGenres) {
        genre.bind(1, g.singular);
        genre.bind(2, g.plural);
        genre.exec();
        genre.reset();
    }
    SQLite::Statement type(database, "INSERT INTO Publisher_Type (Description) VALUES (?);");
    for (const char* description : kPublisherTypes) {
        type.bind(1, description);
        type.exec();
        type.reset();
    }
    database.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";");
    transaction.commit();
}

bool validateSchema(SQLite::Database& database, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    try {
        // Reading anything from a file that is not a database throws here.
        const int version = database.execAndGet("PRAGMA user_version;").getInt();
        if (version <= 0)
            return fail(QStringLiteral("it is not a Quillary database"));
        if (version > kSchemaVersion)
            return fail(QStringLiteral("it was written by a newer version of Quillary "
                                       "(schema version %1; this version reads up to %2)")
                            .arg(version)
                            .arg(kSchemaVersion));

        QStringList missing;
        // A view that cannot be read because a table it uses is missing or incomplete says
        // nothing more than that table does; it is named only when the tables are whole.
        QStringList brokenViews;
        bool tablesWhole = true;
        SQLite::Statement kind(database,
            "SELECT type FROM sqlite_master WHERE name = ? COLLATE NOCASE;");
        SQLite::Statement columns(database, "SELECT name FROM pragma_table_info(?);");
        for (const Required& object : requiredObjects()) {
            const bool isTable = std::string_view(object.type) == "table";
            const QString label = QStringLiteral("%1 %2").arg(QLatin1String(object.type),
                                                              QLatin1String(object.name));
            kind.reset();
            kind.bind(1, object.name);
            if (!kind.executeStep() || kind.getColumn(0).getString() != object.type) {
                missing << label;
                tablesWhole = tablesWhole && !isTable;
                continue;
            }
            QStringList present;
            try {
                columns.reset();
                columns.bind(1, object.name);
                while (columns.executeStep())
                    present << QString::fromStdString(columns.getColumn(0).getString());
            } catch (const SQLite::Exception& e) {
                if (isLockedByAnother(e))
                    throw;
                // A view whose definition no longer works.
                brokenViews << QStringLiteral("%1 (%2)").arg(label, engineText(e));
                continue;
            }
            QStringList wanted = object.columns;
            for (const AddedColumn& added : kAddedColumns) {
                if (version >= added.version && std::string_view(added.object) == object.name)
                    wanted << QLatin1String(added.column);
            }
            for (const QString& column : wanted) {
                if (!present.contains(column, Qt::CaseInsensitive)) {
                    missing << QStringLiteral("column %1.\"%2\"")
                                   .arg(QLatin1String(object.name), column);
                    tablesWhole = tablesWhole && !isTable;
                }
            }
        }
        if (tablesWhole)
            missing << brokenViews;
        if (!missing.isEmpty())
            return fail(QStringLiteral("it is not a complete Quillary database; missing: %1")
                            .arg(missing.join(QStringLiteral(", "))));
    } catch (const std::exception& e) {
        if (isLockedByAnother(e))
            throw;
        return fail(engineText(e));
    }
    return true;
}

QStringList listingIndexes()
{
    QStringList names;
    for (const auto& index : kListingIndexes)
        names << QLatin1String(index[0]);
    return names;
}

bool ensureIndexes(SQLite::Database& database)
{
    // Looked up first: a file that has them all is only read, never locked for writing.
    SQLite::Statement present(database, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?;");
    std::vector<const char*> missing;
    for (const auto& index : kListingIndexes) {
        present.reset();
        present.bind(1, index[0]);
        if (!present.executeStep())
            missing.push_back(index[1]);
    }
    if (missing.empty())
        return false;
    SQLite::Transaction transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
    for (const char* statement : missing)
        database.exec(statement);
    transaction.commit();
    return true;
}

// Schema upgrades, one step a version.
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
