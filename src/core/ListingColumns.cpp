#include "core/ListingColumns.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include "core/Conversions.h"
#include "core/Listing.h"

const QVector<ColumnDef>& ViewColumns(View view)
{
    static const QVector<ColumnDef> work = {
        {QStringLiteral("Work"), QStringLiteral("Name"), CellFormat::Text},
        {QStringLiteral("Genre"), QStringLiteral("Description_Singular"), CellFormat::Text},
        {QStringLiteral("Written"), QStringLiteral("Year_Written"), CellFormat::Text},
        {QStringLiteral("Last Amended"), QStringLiteral("Year_Last_Amended"), CellFormat::Text},
        {QStringLiteral("Submit?"), QStringLiteral("Submit?"), CellFormat::YesNo},
        {QStringLiteral("Currently Submitted?"), QStringLiteral("Submitted?"), CellFormat::YesNo},
        {QStringLiteral("Accepted?"), QStringLiteral("Accepted?"), CellFormat::YesNo},
        {QStringLiteral("Published?"), QStringLiteral("Published?"), CellFormat::YesNo},
        {QStringLiteral("Date Of Outstanding Submission"), QStringLiteral("Date_Submitted"), CellFormat::Date},
    };
    static const QVector<ColumnDef> publisher = {
        {QStringLiteral("Publisher"), QStringLiteral("Name"), CellFormat::Text},
        {QStringLiteral("Type"), QStringLiteral("Type"), CellFormat::Text},
        {QStringLiteral("Guidelines"), QStringLiteral("Guidelines"), CellFormat::Text},
        {QStringLiteral("Comments"), QStringLiteral("Comments"), CellFormat::Text},
        {QStringLiteral("Submit To?"), QStringLiteral("Submit_To?"), CellFormat::YesNo},
        {QStringLiteral("Submitted To?"), QStringLiteral("Submitted_To?"), CellFormat::YesNo},
    };
    static const QVector<ColumnDef> submission = {
        {QStringLiteral("Work"), QStringLiteral("Work"), CellFormat::Text},
        {QStringLiteral("Publisher"), QStringLiteral("Publisher"), CellFormat::Text},
        {QStringLiteral("Submitted"), QStringLiteral("Date_Submitted"), CellFormat::Date},
        {QStringLiteral("Returned"), QStringLiteral("Date_Returned"), CellFormat::Date},
        {QStringLiteral("Status"), QStringLiteral("Status_Desc"), CellFormat::Text},
        {QStringLiteral("Outcome"), QStringLiteral("Outcome"), CellFormat::Text},
        {QStringLiteral("Notes"), QStringLiteral("Notes"), CellFormat::Text},
    };
    if (view == View::Publisher)
        return publisher;
    if (view == View::Submission)
        return submission;
    return work;
}

QString NoRecordsText(View view)
{
    if (view == View::Publisher)
        return QStringLiteral("(No Publishers Found)");
    if (view == View::Submission)
        return QStringLiteral("(No Submissions Found)");
    return QStringLiteral("(No Works Found)");
}

int MaxLeftCol(View view)
{
    return view == View::Submission ? 4 : 0;
}

QString FormatStoredDate(const QString& iso)
{
    QDate date = QDate::fromString(iso, Qt::ISODate);
    if (!date.isValid()) {
        bool ok = false;
        const int days = iso.toInt(&ok);
        if (!ok || days == 0)
            return QString();
        date = QDate(1899, 12, 30).addDays(days);
    }
    return QLocale().toString(date, QLocale::ShortFormat);
}

namespace {

QString ColumnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    const int bytes = sqlite3_column_bytes(statement, column);
    return text ? TextFromUtf8(QByteArrayView(text, bytes)) : QString();
}

} // namespace

FillResult ReadFillRows(SQLite::Database& database, View view, const QString& statement)
{
    FillResult result;
    if (!CheckReadOnlyStatement(database, statement, &result.error))
        return result;

    sqlite3* handle = database.getHandle();
    const QByteArray text = statement.toUtf8();
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), static_cast<int>(text.size()), &query, nullptr) != SQLITE_OK) {
        result.error = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(query);
        return result;
    }

    // Find the query's columns by name, without regard to case.
    const QVector<ColumnDef>& defs = ViewColumns(view);
    QVector<int> sourceColumn(defs.size(), -1);
    int idColumn = -1;
    const int count = sqlite3_column_count(query);
    for (int c = 0; c < count; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query, c));
        if (idColumn < 0 && name.compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0)
            idColumn = c;
        for (int d = 0; d < defs.size(); ++d) {
            if (sourceColumn[d] < 0 && name.compare(defs[d].source, Qt::CaseInsensitive) == 0)
                sourceColumn[d] = c;
        }
    }

    const QString yes = QStringLiteral("Yes");
    const QString no = QStringLiteral("No");
    QHash<QString, QString> dates;  // dates repeat; format each once
    // Texts often repeat down a column (publishers, statuses): share the previous one's.
    std::vector<QByteArray> lastBytes(defs.size());
    std::vector<QString> lastText(defs.size());
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
        result.ids.push_back(idColumn >= 0 ? sqlite3_column_int(query, idColumn) : 0);
        for (int d = 0; d < defs.size(); ++d) {
            const int c = sourceColumn[d];
            const int type = c >= 0 ? sqlite3_column_type(query, c) : SQLITE_NULL;
            if (type == SQLITE_NULL) {
                result.cells.push_back(defs[d].format == CellFormat::YesNo ? no : QString());
                continue;
            }
            switch (defs[d].format) {
            case CellFormat::Text: {
                const QByteArrayView bytes(reinterpret_cast<const char*>(sqlite3_column_text(query, c)),
                                           sqlite3_column_bytes(query, c));
                if (bytes != lastBytes[d]) {
                    lastBytes[d] = bytes.toByteArray();
                    lastText[d] = TextFromUtf8(bytes);
                }
                result.cells.push_back(lastText[d]);
                break;
            }
            case CellFormat::YesNo:
                result.cells.push_back(sqlite3_column_int64(query, c) != 0 ? yes : no);
                break;
            case CellFormat::Date: {
                const QString stored = ColumnText(query, c);
                auto it = dates.constFind(stored);
                if (it == dates.constEnd())
                    it = dates.insert(stored, FormatStoredDate(stored));
                result.cells.push_back(*it);
                break;
            }
            }
        }
    }
    if (rc != SQLITE_DONE) {
        result.error = QString::fromUtf8(sqlite3_errmsg(handle));
        result.ids.clear();
        result.cells.clear();
        sqlite3_finalize(query);
        return result;
    }
    sqlite3_finalize(query);
    result.ok = true;
    return result;
}
