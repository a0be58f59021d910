// Files written by an older version are upgraded once in one transaction, keeping every record.

#include <QFile>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "core/RecordStore.h"
#include "core/Database.h"
#include "support/CoreTestEnv.h"

namespace {

// The tables as version 1 wrote them (no "answers within" column); its views only carry
// the columns an open checks for, since the upgrade replaces every view.
const char* const kVersion1 = R"SQL(
CREATE TABLE Genre (ID INTEGER PRIMARY KEY AUTOINCREMENT, Description_Singular TEXT NOT NULL DEFAULT '',
    Description_Plural TEXT NOT NULL DEFAULT '');
CREATE TABLE Publisher_Type (ID INTEGER PRIMARY KEY AUTOINCREMENT, Description TEXT NOT NULL DEFAULT '');
CREATE TABLE Work (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL COLLATE NOCASE, Genre_ID INTEGER,
    Year_Written TEXT NOT NULL DEFAULT '', Year_Last_Amended TEXT, "Submit?" INTEGER NOT NULL DEFAULT 0,
    "Submitted?" INTEGER NOT NULL DEFAULT 0, "Accepted?" INTEGER NOT NULL DEFAULT 0,
    "Published?" INTEGER NOT NULL DEFAULT 0);
CREATE TABLE Publisher (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL COLLATE NOCASE, Type_ID INTEGER,
    Guidelines TEXT, Comments TEXT, Address TEXT, "Submit_To?" INTEGER NOT NULL DEFAULT 0,
    "Submitted_To?" INTEGER NOT NULL DEFAULT 0, "E-Mail_Address" TEXT, Web_Address TEXT);
CREATE TABLE Submission (ID INTEGER PRIMARY KEY AUTOINCREMENT, Work_ID INTEGER NOT NULL,
    Publisher_ID INTEGER NOT NULL, Date_Submitted NOT NULL DEFAULT 0, Date_Returned NOT NULL DEFAULT 0,
    Status INTEGER NOT NULL DEFAULT 0, Outcome TEXT, Notes TEXT);
CREATE TABLE Publisher_Genre (Publisher_ID INTEGER NOT NULL, Genre_ID INTEGER NOT NULL,
    PRIMARY KEY (Publisher_ID, Genre_ID));
CREATE VIEW Expanded_Work AS SELECT *, NULL AS Description_Singular, NULL AS Date_Submitted FROM Work;
CREATE VIEW Expanded_Publisher AS SELECT *, NULL AS Type FROM Publisher;
CREATE VIEW Expanded_Submission AS SELECT *, NULL AS Work, NULL AS Publisher, NULL AS Status_Desc FROM Submission;
PRAGMA user_version = 1;
)SQL";

} // namespace

class SchemaUpgradeTest : public CoreTest {
protected:
    QString dbPath() { return path(QStringLiteral("Quillary.mdb")); }

    // A version 1 file with a few records of each kind.
    void writeVersion1File()
    {
        SQLite::Database old(dbPath().toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        old.exec(kVersion1);
        old.exec("INSERT INTO Genre (Description_Singular, Description_Plural) VALUES ('Poem', 'Poems');"
                 "INSERT INTO Publisher_Type (Description) VALUES ('Magazine');"
                 "INSERT INTO Work (Name, Genre_ID, Year_Written, \"Submitted?\") VALUES ('Hidden Ticket', 1, '2019', 1);"
                 "INSERT INTO Publisher (Name, Type_ID, \"E-Mail_Address\") VALUES ('Brass Lantern', 1, 'ed@brass.example');"
                 "INSERT INTO Publisher_Genre VALUES (1, 1);"
                 "INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Notes) "
                 "VALUES (1, 1, '2024-03-03', 0, 0, 'first go'), (1, 1, '2023-01-01', '2023-02-01', 1, NULL);");
    }
    // Every value of version 1's columns (the upgrade adds its own last) with its type.
    static QString dump(const SQLite::Database& database)
    {
        QStringList rows;
        for (const auto& [table, columns] : {std::pair{"Genre", 3}, {"Publisher_Type", 2}, {"Work", 9},
                                             {"Publisher_Genre", 2}, {"Submission", 8}, {"Publisher", 10}}) {
            SQLite::Statement query(database, std::string("SELECT * FROM ") + table + " ORDER BY 1, 2;");
            while (query.executeStep()) {
                QString row = QLatin1String(table);
                for (int c = 0; c < columns; ++c)
                    row += QStringLiteral("|%1:%2").arg(query.getColumn(c).getText()).arg(query.getColumn(c).getType());
                rows << row;
            }
        }
        return rows.join(QLatin1Char('\n'));
    }
};

TEST_F(SchemaUpgradeTest, OlderFilesAreUpgradedOnceAndKeepEveryRecord)
{
    for (const int version : {1, 3}) {
        SCOPED_TRACE(version);
        QFile::remove(dbPath());
        writeVersion1File();
        if (version == 3) {
            // As version 3 left it: the answer-within column, the import log, views that list them.
            SQLite::Database old(dbPath().toStdString(), SQLite::OPEN_READWRITE);
            old.exec("ALTER TABLE Publisher ADD COLUMN Answer_Within_Days INTEGER;"
                     "UPDATE Publisher SET Answer_Within_Days = 30;"
                     "DROP VIEW Expanded_Submission;"
                     "CREATE VIEW Expanded_Submission AS SELECT *, NULL AS Work, NULL AS Publisher, NULL AS Status_Desc, "
                     "NULL AS Answer_Within_Days FROM Submission;");
            db::createImportLog(old);
            old.exec("INSERT INTO Import_Log (Imported_At, File_Name, Kind) VALUES ('2026-12-01', 'a.csv', 'works');"
                     "PRAGMA user_version = 3;");
        }
        const QString before = dump(SQLite::Database(dbPath().toStdString(), SQLite::OPEN_READONLY));
        QString error;
        auto opened = db::openExisting(dbPath(), &error);
        ASSERT_TRUE(opened) << error.toStdString();
        EXPECT_EQ(db::schemaVersion(*opened), db::kSchemaVersion);
        EXPECT_EQ(dump(*opened), before);
        // The new columns are there, empty, and the views list them.
        EXPECT_EQ(opened->execAndGet("SELECT group_concat(ifnull(Answer_Within_Days, '-') || typeof(Fee) || "
                                     "typeof(Payment) || Date_Paid) FROM Expanded_Submission;").getString(),
                  version == 1 ? "-nullnull0,-nullnull0" : "30nullnull0,30nullnull0");
        EXPECT_EQ(opened->execAndGet("SELECT Date_Submitted || typeof(Simultaneous) || typeof(Usual_Fee) FROM "
                                     "Expanded_Work, Expanded_Publisher;").getString(), "2024-03-03nullnull");
        if (version == 3)
            EXPECT_EQ(opened->execAndGet("SELECT File_Name FROM Import_Log;").getString(), "a.csv");
        RecordStore store(*opened);
        PublisherRecord brass = store.publisher(1).value();
        EXPECT_EQ(brass.genreIds, QList<int>{1});
        brass.answerWithinDays = 45;
        store.savePublisher(brass);
        opened.reset();

        // Opened again: nothing more to do, and nothing is written.
        const QByteArray upgraded = readFile(dbPath());
        opened = db::openExisting(dbPath(), &error);
        ASSERT_TRUE(opened) << error.toStdString();
        EXPECT_EQ(RecordStore(*opened).publisher(1)->answerWithinDays, 45);
        opened.reset();
        EXPECT_EQ(readFile(dbPath()), upgraded);
    }
}

TEST_F(SchemaUpgradeTest, AFailedUpgradeLeavesTheFileAsItWasAndIsReported)
{
    writeVersion1File();
    // A column of that name already (added by hand): the step cannot be made.
    SQLite::Database(dbPath().toStdString(), SQLite::OPEN_READWRITE).exec("ALTER TABLE Publisher ADD COLUMN Answer_Within_Days TEXT;");
    const QByteArray before = readFile(dbPath());
    QString error;
    EXPECT_FALSE(db::openExisting(dbPath(), &error));
    EXPECT_TRUE(error.contains("could not be upgraded") && error.contains("duplicate column")) << error.toStdString();
    EXPECT_EQ(readFile(dbPath()), before);
    EXPECT_FALSE(QFile::exists(dbPath() + QStringLiteral("-journal")));
}
