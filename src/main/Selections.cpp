#include "main/Selections.h"

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include "app/Conversions.h"
#include "app/modQuillary.h"
#include "data/Statements.h"

SelectionSection ReadSelectionSection(const QString& viewMode)
{
    SelectionSection result;
    const QString section = viewMode + QStringLiteral("-SQL");
    for (int i = 1;; ++i) {
        const QString value = GetIniSetting(section, QString::number(i), QString());
        if (value.isEmpty())
            break;
        const qsizetype comma = value.indexOf(QLatin1Char(','));
        if (comma < 0) {
            result.warnings << QStringLiteral("Selection \"%1\" in section [%2] has no comma between its caption and "
                                              "its condition; it is not listed.").arg(QString::number(i), section);
            continue;
        }
        result.selections.push_back({value.left(comma), value.mid(comma + 1)});
    }
    const QString defaultText = GetIniSetting(section, QStringLiteral("Default"), QStringLiteral("0"));
    const int chosen = RoundHalfEven(LeadingNumber(defaultText) - 1.0);
    if (chosen >= 0 && chosen < result.selections.size()) {
        result.defaultIndex = chosen;
    } else if (chosen != -1) {
        result.warnings << QStringLiteral("The Default of section [%1] is %2, but the section has %3 selection(s); "
                                          "all records are listed.")
                               .arg(section, defaultText).arg(result.selections.size());
    }
    return result;
}

namespace {

// The quote character of the quoted text that position pos of condition lies in, or
// a null QChar when it lies outside any.
QChar QuoteAt(const QString& condition, qsizetype pos)
{
    QChar open;
    for (qsizetype i = 0; i < pos; ++i) {
        const QChar c = condition.at(i);
        if (open.isNull()) {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                open = c;
            } else if (c == QLatin1Char('[')) {
                // A bracketed name: quotes inside it start no text.
                const qsizetype close = condition.indexOf(QLatin1Char(']'), i + 1);
                if (close < 0 || close >= pos)
                    return QChar();
                i = close;
            }
        } else if (c == open) {
            if (i + 1 < pos && condition.at(i + 1) == open)
                ++i;  // a doubled quote stays inside the text
            else
                open = QChar();
        }
    }
    return open;
}

} // namespace

QString ResolvePlaceholders(const QString& condition, const std::function<QString()>& ask)
{
    QString result = condition;
    qsizetype p;
    while ((p = result.indexOf(QStringLiteral("??"))) >= 0) {
        QString value = ask();
        const QChar quote = QuoteAt(result, p);
        if (!quote.isNull())
            value.replace(quote, QString(2, quote));
        result = result.left(p) + value + result.mid(p + 2);
    }
    return result;
}

QString FillStatement(const QString& viewMode, const QString& condition)
{
    QString statement;
    QString order = sql::kOrderByName;
    if (viewMode == QStringLiteral("Publisher")) {
        statement = sql::kFillPublisher;
    } else if (viewMode == QStringLiteral("Submission")) {
        statement = sql::kFillSubmission;
        order = sql::kOrderByWork;
    } else {
        statement = sql::kFillWork;
    }
    if (!condition.trimmed().isEmpty())
        statement += QStringLiteral(" WHERE ") + condition;
    return statement + order;
}

bool CheckReadOnlyStatement(SQLite::Database& database, const QString& statement, QString* error)
{
    const QByteArray text = statement.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(database.getHandle(), text.constData(), static_cast<int>(text.size()), &prepared, &tail)
        != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(database.getHandle()));
        sqlite3_finalize(prepared);
        return false;
    }
    const bool readOnly = prepared && sqlite3_stmt_readonly(prepared);
    sqlite3_finalize(prepared);
    // Whatever follows the first statement must be nothing but blanks and semicolons.
    bool single = true;
    if (tail) {
        for (const char* c = tail; *c; ++c) {
            if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n' && *c != ';') {
                single = false;
                break;
            }
        }
    }
    if (!single) {
        if (error)
            *error = QStringLiteral("The selection's condition holds more than one statement; only a condition may "
                                    "follow WHERE.");
        return false;
    }
    if (!readOnly) {
        if (error)
            *error = QStringLiteral("The selection's condition would change the database; a selection may only read.");
        return false;
    }
    return true;
}
