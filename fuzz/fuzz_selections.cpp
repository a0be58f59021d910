// Saved selections from the settings file and the conditions they become:
// - the section reader takes any file content, and what it lists is usable;
// - placeholder values never end a quoted text early, whatever they hold, and never add a
//   clause: the resolved condition has exactly the selection's own clauses;
// - a resolved condition the read-only check accepts really changes nothing when the
//   grid runs it.

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include "FuzzCheck.h"
#include "core/Settings.h"
#include "core/Database.h"
#include "core/Listing.h"

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

// The statement as the engine's tokenizer reads it: every literal as L, every quoted name
// as I, comments and blanks left out. Two conditions with the same skeleton have the same
// clauses.
QString skeleton(const QString& sql)
{
    QString out;
    const qsizetype n = sql.size();
    auto at = [&](qsizetype k) { return k < n ? sql.at(k) : QChar(); };
    auto isWord = [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() > 127; };
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') {
            ++i;
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            qsizetype j = i + 1;
            while (j < n && !(sql.at(j) == c && at(j + 1) != c))
                j += sql.at(j) == c ? 2 : 1;
            out += c == u'\'' ? QStringLiteral("L ") : QStringLiteral("I ");
            i = j + 1;
        } else if (c == u'[') {
            const qsizetype j = sql.indexOf(u']', i + 1);
            out += QStringLiteral("I ");
            i = j < 0 ? n : j + 1;
        } else if (c == u'-' && at(i + 1) == u'-') {
            const qsizetype j = sql.indexOf(u'\n', i);
            i = j < 0 ? n : j + 1;
        } else if (c == u'/' && at(i + 1) == u'*') {
            const qsizetype j = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = j < 0 ? n : j + 2;
        } else if (c.isDigit() || (c == u'.' && at(i + 1).isDigit())) {
            while (i < n && (isWord(sql.at(i)) || sql.at(i) == u'.'
                             || ((sql.at(i) == u'+' || sql.at(i) == u'-') && (at(i - 1) == u'e' || at(i - 1) == u'E'))))
                ++i;
            out += QStringLiteral("L ");
        } else if (isWord(c)) {
            qsizetype j = i;
            while (j < n && isWord(sql.at(j)))
                ++j;
            const QString word = sql.mid(i, j - i).toUpper();
            out += (word == QLatin1String("TRUE") || word == QLatin1String("FALSE") ? QStringLiteral("L") : word)
                + QLatin1Char(' ');
            i = j;
        } else {
            out += c;
            out += QLatin1Char(' ');
            ++i;
        }
    }
    return out;
}

// A harmless value of the same kind as value: numbers and TRUE/FALSE stay of their kind,
// any other text becomes a plain word.
QString harmless(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    QString trimmed = value.trimmed();
    trimmed.remove(QChar(u'\0'));
    if (number.match(trimmed).hasMatch())
        return trimmed.replace(QRegularExpression(QStringLiteral("[1-9]")), QStringLiteral("0"));
    if (trimmed.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0
        || trimmed.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("TRUE");
    return QStringLiteral("a");
}

// True when no placeholder of condition touches a name or a number, where any value,
// even a harmless one, would merge with it into another token.
bool placeholdersStandApart(const QString& condition)
{
    static const QRegularExpression touching(QStringLiteral("[\\w$.?\\x{80}-\\x{10FFFF}]\\?\\?|\\?\\?[\\w$.?\\x{80}-\\x{10FFFF}]"));
    return !touching.match(condition).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    static const View kViews[] = {View::Work, View::Publisher, View::Submission};
    const View view = kViews[data.ConsumeIntegralInRange(0, 2)];
    const std::string fileText = data.ConsumeRandomLengthString(2000);

    // The section reader, on a settings file of this content.
    const Settings settings(folder().filePath(QStringLiteral("QUILLARY.INI")));
    {
        QFile ini(settings.file());
        FUZZ_CHECK(ini.open(QIODevice::WriteOnly | QIODevice::Truncate), ini.errorString());
        ini.write(fileText.data(), qint64(fileText.size()));
    }
    const SelectionSection section = readSelectionSection(settings, view);
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
    const QString resolved = resolvePlaceholders(condition, [&] {
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

    // Whatever was typed, the condition keeps exactly its own clauses: each value is one
    // literal (or stays inside the text, name or comment it was typed into).
    if (plainValues && placeholdersStandApart(condition)) {
        int k = 0;
        const QString reference = resolvePlaceholders(condition, [&] { return harmless(values.value(k++)); });
        FUZZ_CHECK(skeleton(resolved) == skeleton(reference),
                   QStringLiteral("%1\n  became %2\n  not like %3").arg(condition, resolved, reference));
    }

    // A value typed inside a quoted text stays one text: the condition "Name = '??'"
    // compares Name with exactly what was typed.
    if (!values.isEmpty()) {
        const QString typed = values.first().remove(QLatin1Char('?')).remove(QChar(u'\0'));
        for (const QString quote : {QStringLiteral("'"), QStringLiteral("\"")}) {
            const QString text = resolvePlaceholders(QStringLiteral("x = %1??%1").arg(quote), [&] { return typed; });
            SQLite::Statement literal(database(), ("SELECT " + text.mid(4)).toStdString());
            FUZZ_CHECK(literal.getColumnCount() == 1 && literal.executeStep()
                           && literal.getColumn(0).getString() == typed.toStdString(),
                       text);
        }
    }

    // The grid runs only what the check accepts, and that must change nothing.
    QString error;
    const QString statement = fillStatement(view, resolved);
    SQLite::Database& db = database();
    if (checkReadOnlyStatement(db, statement, &error)) {
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
