#pragma once
// Values as the database stores them, read from a result column.

#include <QString>
#include <QVariant>

namespace SQLite { class Column; }

// The text of a column; Null reads as the empty text. A leading U+FEFF stays part of it.
QString storedText(const SQLite::Column& column);
// The value with the type it is stored with: Null as an invalid QVariant, integers as
// qlonglong, reals as double, blobs as bytes, text as QString.
QVariant storedValue(const SQLite::Column& column);
