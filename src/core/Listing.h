#pragma once
// Saved selections: the "<view>-SQL" sections of the settings file, and turning a chosen
// selection into the condition of a fill statement.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "core/View.h"

class Settings;
namespace SQLite { class Database; }

struct Selection {
    QString caption;
    QString condition;  // empty: all records
};

struct SelectionSection {
    QVector<Selection> selections;
    int defaultIndex = -1;   // 0-based; -1 when none is chosen
    QStringList warnings;    // entries that could not be used
};

// Reads keys "1", "2", ... (until one is missing or empty) and "Default" of the view's
// section. An entry without a comma is skipped; a Default beyond the list chooses none.
SelectionSection readSelectionSection(const Settings& settings, View view);

// Replaces each "??" of condition, leftmost first and searching from the start again each
// time, by the value ask() returns. The value is data, never SQL: inside a quoted text its
// quote character is doubled; outside one a number (or TRUE/FALSE) stays as it is and
// anything else becomes one quoted text; in a bracketed name or a comment it cannot end
// the name or the comment.
QString resolvePlaceholders(const QString& condition, const std::function<QString()>& ask);

// The fill statement of a view: base text, " WHERE " + condition when there is one, order.
QString fillStatement(View view, const QString& condition);

// True when statement is exactly one statement that only reads; otherwise false with a
// reason (the engine's own text when it cannot be prepared).
bool checkReadOnlyStatement(SQLite::Database& database, const QString& statement, QString* error);
