// Saved selections from the settings file and the conditions they become:
// - the section reader takes any file content, and what it lists is usable;
// - placeholder values never end a quoted text early, whatever they hold;
// - a resolved condition the read-only check accepts really changes nothing when the
//   grid runs it.

#include <QFile>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include "FuzzCheck.h"
#include "app/modQuillary.h"
#include "data/Database.h"
#include "main/Selections.h"

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

SQLite::Database& database()
{
    static SQLite::Database db = [] {
        SQLite::Database d(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db::prepareConnection(d);
        db::createSchema(d);
        d.exec("INSERT INTO Work (Name, Genre_ID) VALUES ('O''Brien', 1), ('x', 2);"
               "INSERT INTO Publisher (Name) VALUES ('p');"
               "INSERT INTO Submission (Work_ID, Publisher_ID) VALUES (1, 1);");
        // A runaway statement (a recursive query) is stopped, not waited for.
        sqlite3_progress_handler(d.getHandle(), 100000, [](void*) { return 1; }, nullptr);
        return d;
    }();
    return db;
}

// What the database holds: every row of every table, and the schema.
QByteArray snapshot(SQLite::Database& db)
{
    QByteArray all;
    for (const char* table : {"Work", "Publisher", "Submission", "Genre", "Publisher_Type", "Publisher_Genre",
                              "sqlite_master"}) {
        SQLite::Statement rows(db, std::string("SELECT * FROM ") + table);
        while (rows.executeStep())
            for (int c = 0; c < rows.getColumnCount(); ++c)
                all += QByteArray::fromStdString(rows.getColumn(c).getString()) + '\x1f';
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    static const char* const kViews[] = {"Work", "Publisher", "Submission"};
    const QString view = QString::fromLatin1(kViews[data.ConsumeIntegralInRange(0, 2)]);
    const std::string fileText = data.ConsumeRandomLengthString(2000);

    // The section reader, on a settings file of this content.
    gIniFile = folder().filePath(QStringLiteral("QUILLARY.INI"));
    {
        QFile ini(gIniFile);
        FUZZ_CHECK(ini.open(QIODevice::WriteOnly | QIODevice::Truncate), ini.errorString());
        ini.write(fileText.data(), qint64(fileText.size()));
    }
    const SelectionSection section = ReadSelectionSection(view);
    FUZZ_CHECK(section.defaultIndex >= -1 && section.defaultIndex < section.selections.size(),
               QString::number(section.defaultIndex));
    for (const Selection& s : section.selections)
        FUZZ_CHECK(!s.caption.contains(QLatin1Char(',')), s.caption);

    // A condition, and the values typed for its placeholders.
    const QString condition = section.selections.isEmpty()
        ? QString::fromUtf8(data.ConsumeRandomLengthString(200))
        : section.selections[data.ConsumeIntegralInRange<qsizetype>(0, section.selections.size() - 1)].condition;
    QStringList values;
    int asks = 0;
    const QString resolved = ResolvePlaceholders(condition, [&] {
        ++asks;
        QString value = QString::fromUtf8(data.ConsumeRandomLengthString(40));
        values << value;
        return value;
    });

    // With values holding no '?', every placeholder is asked for once and none is left.
    bool plainValues = true;
    for (const QString& v : values)
        plainValues = plainValues && !v.contains(QLatin1Char('?'));
    if (plainValues) {
        FUZZ_CHECK(!resolved.contains(QStringLiteral("??")), resolved);
        int placeholders = 0;
        for (qsizetype p = 0; (p = condition.indexOf(QStringLiteral("??"), p)) >= 0; p += 2)
            ++placeholders;
        FUZZ_CHECK(asks == placeholders, QStringLiteral("%1 asked %2 times").arg(condition).arg(asks));
    }

    // A value typed inside a quoted text stays one text: the condition "Name = '??'"
    // compares Name with exactly what was typed.
    if (!values.isEmpty()) {
        const QString typed = values.first().remove(QLatin1Char('?')).remove(QChar(u'\0'));
        for (const QString quote : {QStringLiteral("'"), QStringLiteral("\"")}) {
            const QString text = ResolvePlaceholders(QStringLiteral("x = %1??%1").arg(quote), [&] { return typed; });
            SQLite::Statement literal(database(), ("SELECT " + text.mid(4)).toStdString());
            FUZZ_CHECK(literal.getColumnCount() == 1 && literal.executeStep()
                           && literal.getColumn(0).getString() == typed.toStdString(),
                       text);
        }
    }

    // The grid runs only what the check accepts, and that must change nothing.
    QString error;
    const QString statement = FillStatement(view, resolved);
    SQLite::Database& db = database();
    if (CheckReadOnlyStatement(db, statement, &error)) {
        const QByteArray before = snapshot(db);
        const int changes = sqlite3_total_changes(db.getHandle());
        try {
            SQLite::Statement fill(db, statement.toStdString());
            while (fill.executeStep()) {
            }
        } catch (const SQLite::Exception&) {
            // A condition may fail at run time (a bad value); the grid reports it.
        }
        FUZZ_CHECK(sqlite3_total_changes(db.getHandle()) == changes && snapshot(db) == before, statement);
    } else {
        FUZZ_CHECK(!error.isEmpty(), statement);
    }
    return 0;
}
