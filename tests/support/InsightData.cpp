#include "support/InsightData.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "core/CsvImportFile.h"

namespace {

int insert(SQLite::Database& database, const QString& statement)
{
    database.exec(statement.toStdString());
    return static_cast<int>(database.getLastInsertRowid());
}

} // namespace

InsightRecords addInsightRecords(SQLite::Database& database)
{
    InsightRecords r;
    auto publisher = [&](const char* name) {
        return insert(database, QStringLiteral("INSERT INTO Publisher (Name, Type_ID) VALUES ('%1', 1);")
                                    .arg(QLatin1String(name)));
    };
    auto work = [&](const char* name) {
        return insert(database, QStringLiteral("INSERT INTO Work (Name, Genre_ID, Year_Written) VALUES ('%1', 1, "
                                               "'2020');")
                                    .arg(QLatin1String(name)));
    };
    r.brass = publisher("Brass Lantern");
    r.quarto = publisher("Quarto");
    r.gone = publisher("Gone Press");
    r.nightOwl = publisher("Night Owl");
    r.empty = publisher("Empty House");
    r.hiddenTicket = work("Hidden Ticket");
    r.saltRoad = work("Salt Road");
    r.lostDraft = work("Lost Draft");

    auto date = [](const char* iso) { return iso ? QStringLiteral("'%1'").arg(QLatin1String(iso)) : QStringLiteral("0"); };
    struct Row {
        int work, publisher;
        const char* sent;
        const char* returned;
        int status;
    };
    const Row rows[] = {
        {r.hiddenTicket, r.brass, "2024-01-10", "2024-02-09", 1},
        {r.saltRoad, r.brass, "2024-01-20", "2024-03-20", 2},
        {r.hiddenTicket, r.brass, "2024-03-01", "2024-03-11", 1},
        {r.lostDraft, r.brass, "2024-04-01", "2024-05-21", 3},
        {r.saltRoad, r.brass, "2024-05-01", nullptr, 0},
        {r.hiddenTicket, r.brass, "2024-06-01", "2024-05-01", 1},
        {r.hiddenTicket, r.quarto, "2024-02-01", "2024-02-06", 1},
        {r.saltRoad, r.quarto, "2024-02-01", "2024-02-08", 1},
        {r.hiddenTicket, r.quarto, "2024-07-01", "2024-07-10", 1},
        {r.saltRoad, r.quarto, "2024-07-01", "2024-07-31", 2},
        {r.lostDraft, r.quarto, "2024-08-01", "2024-08-02", 1},
        {r.hiddenTicket, r.gone, "2025-01-15", nullptr, 0},
        {r.saltRoad, r.nightOwl, nullptr, "2025-03-01", 1},
    };
    for (const Row& row : rows) {
        insert(database, QStringLiteral("INSERT INTO Submission (Work_ID, Publisher_ID, Date_Submitted, Date_Returned, "
                                        "Status) VALUES (%1, %2, %3, %4, %5);")
                             .arg(row.work)
                             .arg(row.publisher)
                             .arg(date(row.sent), date(row.returned))
                             .arg(row.status));
    }
    database.exec(QStringLiteral("DELETE FROM Work WHERE ID = %1;").arg(r.lostDraft).toStdString());
    database.exec(QStringLiteral("DELETE FROM Publisher WHERE ID = %1;").arg(r.gone).toStdString());
    return r;
}

QList<QStringList> readCsv(const QByteArray& bytes)
{
    // The importer's reader, proved on its own by the import tests.
    const CsvImportTable table = readCsvImport(bytes, QLatin1Char(','));
    if (!table.ok)
        return {};
    QList<QStringList> records{table.header};
    for (const CsvImportRow& row : table.rows)
        records << row.fields;
    return records;
}
