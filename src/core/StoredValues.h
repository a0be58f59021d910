#pragma once
// Values as the database stores them: read from a result column, and bound to a statement.

#include <QString>
#include <QVariant>
#include <optional>

namespace SQLite { class Column; class Statement; }

// The text of a column; Null reads as the empty text. A leading U+FEFF stays part of it.
QString storedText(const SQLite::Column& column);
// The value with the type it is stored with: Null as an invalid QVariant, integers as
// qlonglong, reals as double, blobs as bytes, text as QString.
QVariant storedValue(const SQLite::Column& column);
// A Yes/No column: set when it holds a number other than 0.
bool storedFlag(const SQLite::Column& column);
// A whole number, also one stored as text ('2'); nothing for Null or anything else.
std::optional<qint64> storedInteger(const SQLite::Column& column);

// Binds the value with its own type: Null for an invalid one, integers and booleans as
// integers, reals as reals, anything else (ISO dates too) as text.
void bindStoredValue(SQLite::Statement& statement, int index, const QVariant& value);
