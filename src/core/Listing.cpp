#include "core/Listing.h"

#include <QRegularExpression>
#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/Statements.h"

SelectionSection readSelectionSection(const Settings& settings, View view)
{
    const Settings::Reading reading(settings);
    SelectionSection result;
    const QString section = viewName(view) + QStringLiteral("-SQL");
    for (int i = 1;; ++i) {
        const QString value = settings.value(section, QString::number(i), QString());
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
    const QString defaultText = settings.value(section, QStringLiteral("Default"), QStringLiteral("0"));
    const int chosen = roundHalfEven(leadingNumber(defaultText) - 1.0);
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

// Where a position of a condition lies, as the engine will read it.
struct Context {
    enum Kind { Plain, Quoted, Bracketed, LineComment, BlockComment } kind = Plain;
    QChar quote;  // for Quoted: ' " or `
};

Context contextAt(const QString& condition, qsizetype pos)
{
    Context context;
    for (qsizetype i = 0; i < pos; ++i) {
        const QChar c = condition.at(i);
        const QChar next = i + 1 < condition.size() ? condition.at(i + 1) : QChar();
        switch (context.kind) {
        case Context::Plain:
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
                context = {Context::Quoted, c};
            } else if (c == QLatin1Char('[')) {
                context.kind = Context::Bracketed;
            } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
                context.kind = Context::LineComment;
                ++i;
            } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
                context.kind = Context::BlockComment;
                ++i;
            }
            break;
        case Context::Quoted:
            if (c == context.quote) {
                if (i + 1 < pos && next == context.quote)
                    ++i;  // a doubled quote stays inside the text
                else
                    context = {};
            }
            break;
        case Context::Bracketed:
            if (c == QLatin1Char(']'))
                context.kind = Context::Plain;
            break;
        case Context::LineComment:
            if (c == QLatin1Char('\n'))  // the engine ends a comment at a line feed only
                context.kind = Context::Plain;
            break;
        case Context::BlockComment:
            if (c == QLatin1Char('*') && next == QLatin1Char('/') && i + 1 < pos) {
                context.kind = Context::Plain;
                ++i;
            }
            break;
        }
    }
    return context;
}

// A typed value as the one literal it stands for in plain SQL: a number or TRUE/FALSE as
// it is, anything else as a quoted text.
QString sqlLiteral(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString trimmed = value.trimmed();
    if (number.match(trimmed).hasMatch()) {
        // A sign could join a minus before the placeholder into a comment.
        const QChar first = trimmed.at(0);
        return first == QLatin1Char('-') || first == QLatin1Char('+') ? QLatin1Char('(') + trimmed + QLatin1Char(')')
                                                                      : trimmed;
    }
    if (trimmed.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0
        || trimmed.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        return trimmed;
    QString text = value;
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The value made safe for the context it lands in: it can never end that context early.
QString escapedValue(const QString& value, const Context& context)
{
    // The engine would stop reading the statement at a NUL.
    QString text = value;
    text.remove(QChar(u'\0'));
    switch (context.kind) {
    case Context::Plain:
        return sqlLiteral(text);
    case Context::Quoted:
        return text.replace(context.quote, QString(2, context.quote));
    case Context::Bracketed:
        return text.remove(QLatin1Char(']'));
    case Context::LineComment:
        return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    case Context::BlockComment:
        // With the comment's own text around it, any '*' or '/' could close it.
        return text.replace(QLatin1Char('*'), QLatin1Char(' ')).replace(QLatin1Char('/'), QLatin1Char(' '));
    }
    return text;
}

} // namespace

QString resolvePlaceholders(const QString& condition, const std::function<QString()>& ask)
{
    QString result = condition;
    qsizetype p;
    while ((p = result.indexOf(QStringLiteral("??"))) >= 0) {
        const QString value = escapedValue(ask(), contextAt(result, p));
        result = result.left(p) + value + result.mid(p + 2);
    }
    return result;
}

QString fillStatement(View view, const QString& condition)
{
    QString statement;
    QString order = sql::kOrderByName;
    if (view == View::Publisher) {
        statement = sql::kFillPublisher;
    } else if (view == View::Submission) {
        statement = sql::kFillSubmission;
        order = sql::kOrderByWork;
    } else {
        statement = sql::kFillWork;
    }
    if (!condition.trimmed().isEmpty())
        statement += QStringLiteral(" WHERE ") + condition;
    return statement + order;
}

bool checkReadOnlyStatement(SQLite::Database& database, const QString& statement, QString* error)
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
