#include "core/ImportLog.h"

#include <QtEndian>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include "core/RecordStore.h"
#include "core/StoredValues.h"

namespace {

// --- Fingerprints: the values of an added record as written, to tell later whether it
// was amended. FNV-1a over each value with its type; stable across versions of Qt. ---

quint64 fingerprint(const QVariantList& values)
{
    quint64 hash = 0xcbf29ce484222325ULL;
    auto mix = [&hash](const char* bytes, qsizetype size) {
        for (qsizetype i = 0; i < size; ++i) {
            hash ^= static_cast<unsigned char>(bytes[i]);
            hash *= 0x100000001b3ULL;
        }
    };
    for (const QVariant& value : values) {
        if (!value.isValid() || value.isNull()) {
            mix("N", 1);
        } else if (value.typeId() == QMetaType::QString) {
            // Its UTF-16 code units, little-endian whatever the machine.
            mix("T", 1);
            for (const QChar c : *static_cast<const QString*>(value.constData())) {
                const char unit[2] = {static_cast<char>(c.unicode() & 0xff), static_cast<char>(c.unicode() >> 8)};
                mix(unit, 2);
            }
        } else if (value.typeId() == QMetaType::Double) {
            const QByteArray text = 'R' + QByteArray::number(value.toDouble(), 'g', 17);
            mix(text.constData(), text.size());
        } else if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = 'B' + value.toByteArray();
            mix(bytes.constData(), bytes.size());
        } else {
            char number[9] = {'I'};
            qToLittleEndian<qint64>(value.toLongLong(), number + 1);
            mix(number, 9);
        }
        mix("\x1f", 1);
    }
    return hash;
}

// A submission without money (Null, Null, 0) leaves those three out of its fingerprint, as
// imports logged before the money columns existed wrote it.
QVariantList withoutEmptyMoney(bool isSubmission, QVariantList values)
{
    if (isSubmission && values.size() == 10 && !values[7].isValid() && !values[8].isValid() && values[9].isValid()
        && values[9].typeId() != QMetaType::QString && values[9].toLongLong() == 0)
        values.resize(7);
    return values;
}

// The tables an import adds to, in the order undo removes from them, each with the
// columns its fingerprint covers. The flags are left out: the program keeps them itself
// as submissions come and go.
struct LoggedColumns {
    const char* name;
    const char* columns;
};
const LoggedColumns kLoggedTables[] = {
    {"Submission", "Work_ID, Publisher_ID, Date_Submitted, Date_Returned, Status, Outcome, Notes, Fee, Payment, Date_Paid"},
    {"Work", "Name, Genre_ID, Year_Written, Year_Last_Amended"},
    {"Publisher",
     "Name, Type_ID, Guidelines, Comments, Address, \"E-Mail_Address\", Web_Address, Answer_Within_Days"},
    {"Genre", "Description_Singular, Description_Plural"},
    {"Publisher_Type", "Description"},
};
constexpr int kLoggedCount = 5;
constexpr int kSubmissions = static_cast<int>(LoggedTable::Submission);
constexpr int kWorks = static_cast<int>(LoggedTable::Work);
constexpr int kPublishers = static_cast<int>(LoggedTable::Publisher);
constexpr int kGenres = static_cast<int>(LoggedTable::Genre);
constexpr int kTypes = static_cast<int>(LoggedTable::PublisherType);

using AddedRecord = ImportLogWriter::Record;

QByteArray packRecords(const std::vector<AddedRecord>& records)
{
    QByteArray bytes(static_cast<qsizetype>(records.size() * 16), Qt::Uninitialized);
    char* out = bytes.data();
    for (const AddedRecord& record : records) {
        qToLittleEndian<qint64>(record.id, out);
        qToLittleEndian<quint64>(record.fingerprint, out + 8);
        out += 16;
    }
    return bytes;
}

std::vector<AddedRecord> unpackRecords(const QByteArray& bytes)
{
    std::vector<AddedRecord> records;
    for (qsizetype at = 0; at + 16 <= bytes.size(); at += 16)
        records.push_back({qFromLittleEndian<qint64>(bytes.constData() + at),
                           qFromLittleEndian<quint64>(bytes.constData() + at + 8)});
    return records;
}

} // namespace

QString importKindName(ImportKind kind)
{
    switch (kind) {
    case ImportKind::Works:
        return QStringLiteral("works");
    case ImportKind::Publishers:
        return QStringLiteral("publishers");
    case ImportKind::Submissions:
        break;
    }
    return QStringLiteral("submissions");
}

std::optional<ImportKind> importKindFromName(const QString& name)
{
    for (const ImportKind kind : {ImportKind::Works, ImportKind::Publishers, ImportKind::Submissions}) {
        if (name.trimmed().compare(importKindName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

void ImportLogWriter::added(LoggedTable table, qint64 id, const QVariantList& values)
{
    mAdded[static_cast<size_t>(table)].push_back({id, fingerprint(withoutEmptyMoney(table == LoggedTable::Submission, values))});
}

int ImportLogWriter::write(SQLite::Database& database, const QDateTime& importedAt, const QString& fileName,
                           ImportKind kind, int added, int alreadyThere)
{
    SQLite::Statement log(database,
        "INSERT INTO Import_Log (Imported_At, File_Name, Kind, Added, Already_There) VALUES (?, ?, ?, ?, ?);");
    log.bind(1, importedAt.toString(Qt::ISODate).toStdString());
    log.bind(2, fileName.toStdString());
    log.bind(3, importKindName(kind).toStdString());
    log.bind(4, added);
    log.bind(5, alreadyThere);
    log.exec();
    const int importId = static_cast<int>(database.getLastInsertRowid());
    SQLite::Statement records(database, "INSERT INTO Import_Added (Import_ID, Table_Name, Records) VALUES (?, ?, ?);");
    for (int t = 0; t < kLoggedCount; ++t) {
        if (mAdded[static_cast<size_t>(t)].empty())
            continue;
        const QByteArray bytes = packRecords(mAdded[static_cast<size_t>(t)]);
        records.reset();
        records.bind(1, importId);
        records.bind(2, kLoggedTables[t].name);
        records.bind(3, bytes.constData(), static_cast<int>(bytes.size()));
        records.exec();
    }
    return importId;
}

std::optional<ImportLogEntry> lastImport(SQLite::Database& database)
{
    SQLite::Statement query(database,
        "SELECT ID, Imported_At, File_Name, Kind, Added, Already_There FROM Import_Log ORDER BY ID DESC LIMIT 1;");
    if (!query.executeStep())
        return std::nullopt;
    ImportLogEntry entry;
    entry.id = query.getColumn(0).getInt();
    entry.importedAt = QDateTime::fromString(storedText(query.getColumn(1)), Qt::ISODate);
    entry.fileName = storedText(query.getColumn(2));
    entry.kind = importKindFromName(storedText(query.getColumn(3))).value_or(ImportKind::Submissions);
    entry.added = query.getColumn(4).getInt();
    entry.alreadyThere = query.getColumn(5).getInt();
    SQLite::Statement tables(database, "SELECT Table_Name, length(Records) / 16 FROM Import_Added WHERE Import_ID = ?;");
    tables.bind(1, entry.id);
    while (tables.executeStep()) {
        const QString name = storedText(tables.getColumn(0));
        const int count = tables.getColumn(1).getInt();
        int* into = name == QLatin1String("Work") ? &entry.works
                  : name == QLatin1String("Publisher") ? &entry.publishers
                  : name == QLatin1String("Submission") ? &entry.submissions
                  : name == QLatin1String("Genre") ? &entry.genres : &entry.publisherTypes;
        *into = count;
    }
    return entry;
}

UndoReport undoLastImport(SQLite::Database& database)
{
    UndoReport report;
    try {
        SQLite::Transaction transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
        const std::optional<ImportLogEntry> entry = lastImport(database);
        if (!entry) {
            report.error = QStringLiteral("There is no import to undo.");
            return report;
        }
        std::array<std::vector<AddedRecord>, kLoggedCount> added;
        {
            SQLite::Statement query(database, "SELECT Table_Name, Records FROM Import_Added WHERE Import_ID = ?;");
            query.bind(1, entry->id);
            while (query.executeStep()) {
                const QString name = storedText(query.getColumn(0));
                const SQLite::Column records = query.getColumn(1);
                for (int t = 0; t < kLoggedCount; ++t) {
                    if (name == QLatin1String(kLoggedTables[t].name))
                        added[t] = unpackRecords(QByteArray(static_cast<const char*>(records.getBlob()),
                                                            records.getBytes()));
                }
            }
        }
        // Anything amended since is the writer's work: refuse rather than lose it. A record
        // deleted since is simply no longer there to remove.
        for (int t = 0; t < kLoggedCount; ++t) {
            SQLite::Statement query(database, std::string("SELECT ") + kLoggedTables[t].columns + " FROM \""
                                                  + kLoggedTables[t].name + "\" WHERE ID = ?;");
            for (const AddedRecord& record : added[t]) {
                query.reset();
                query.bind(1, static_cast<int64_t>(record.id));
                if (!query.executeStep())
                    continue;
                QVariantList values;
                for (int c = 0; c < query.getColumnCount(); ++c)
                    values << storedValue(query.getColumn(c));
                if (fingerprint(withoutEmptyMoney(t == kSubmissions, values)) != record.fingerprint) {
                    const QString what = t == kSubmissions ? QStringLiteral("A submission it added")
                                       : t == kWorks ? QStringLiteral("The work \"%1\"").arg(values[0].toString())
                                       : t == kPublishers ? QStringLiteral("The publisher \"%1\"").arg(values[0].toString())
                                       : t == kGenres ? QStringLiteral("The genre \"%1\"").arg(values[0].toString())
                                                      : QStringLiteral("The publisher type \"%1\"").arg(values[0].toString());
                    report.error = QStringLiteral("%1 has been changed since the import of %2, so the import "
                                                  "cannot be undone.")
                                       .arg(what, entry->fileName);
                    return report;
                }
            }
        }

        QSet<int> worksOfRemoved;
        {
            SQLite::Statement workOf(database, "SELECT Work_ID FROM Submission WHERE ID = ?;");
            SQLite::Statement remove(database, "DELETE FROM Submission WHERE ID = ?;");
            for (const AddedRecord& record : added[kSubmissions]) {
                workOf.reset();
                workOf.bind(1, static_cast<int64_t>(record.id));
                if (workOf.executeStep())
                    worksOfRemoved.insert(workOf.getColumn(0).getInt());
                remove.reset();
                remove.bind(1, static_cast<int64_t>(record.id));
                report.submissions += remove.exec();
            }
        }
        // Each removed only when nothing refers to it now; one still used is kept.
        auto removeUnused = [&](int table, const char* statement, int& removed) {
            SQLite::Statement remove(database, statement);
            SQLite::Statement exists(database, std::string("SELECT 1 FROM \"") + kLoggedTables[table].name
                                                   + "\" WHERE ID = ?;");
            for (const AddedRecord& record : added[table]) {
                remove.reset();
                remove.bind(1, static_cast<int64_t>(record.id));
                if (remove.exec() > 0) {
                    ++removed;
                    continue;
                }
                exists.reset();
                exists.bind(1, static_cast<int64_t>(record.id));
                report.kept += exists.executeStep() ? 1 : 0;
            }
        };
        removeUnused(kWorks, "DELETE FROM Work WHERE ID = ?1 AND NOT EXISTS "
                             "(SELECT 1 FROM Submission WHERE Work_ID = ?1);", report.works);
        removeUnused(kPublishers, "DELETE FROM Publisher WHERE ID = ?1 AND NOT EXISTS "
                                  "(SELECT 1 FROM Submission WHERE Publisher_ID = ?1);", report.publishers);
        {
            // Links a removed publisher was given since mean nothing without it.
            SQLite::Statement links(database, "DELETE FROM Publisher_Genre WHERE Publisher_ID = ?1 "
                                              "AND NOT EXISTS (SELECT 1 FROM Publisher WHERE ID = ?1);");
            for (const AddedRecord& record : added[kPublishers]) {
                links.reset();
                links.bind(1, static_cast<int64_t>(record.id));
                links.exec();
            }
        }
        removeUnused(kGenres, "DELETE FROM Genre WHERE ID = ?1 AND NOT EXISTS (SELECT 1 FROM Work WHERE Genre_ID = ?1) "
                              "AND NOT EXISTS (SELECT 1 FROM Publisher_Genre WHERE Genre_ID = ?1);", report.genres);
        removeUnused(kTypes, "DELETE FROM Publisher_Type WHERE ID = ?1 AND NOT EXISTS "
                             "(SELECT 1 FROM Publisher WHERE Type_ID = ?1);", report.publisherTypes);
        updateWorksSubmitted(database, worksOfRemoved);
        SQLite::Statement forget(database, "DELETE FROM Import_Added WHERE Import_ID = ?;");
        forget.bind(1, entry->id);
        forget.exec();
        SQLite::Statement forgetLog(database, "DELETE FROM Import_Log WHERE ID = ?;");
        forgetLog.bind(1, entry->id);
        forgetLog.exec();
        transaction.commit();
    } catch (const std::exception& e) {
        report = UndoReport();
        report.error = storeError(database, e).message();
        return report;
    }
    report.ok = true;
    return report;
}
