#include "core/StoredValues.h"

#include <QByteArray>
#include <SQLiteCpp/Column.h>

#include "core/Conversions.h"

QString storedText(const SQLite::Column& column)
{
    if (column.isNull())
        return QString();
    return textFromUtf8(QByteArrayView(static_cast<const char*>(column.getBlob()), column.getBytes()));
}

QVariant storedValue(const SQLite::Column& column)
{
    if (column.isNull())
        return QVariant();
    if (column.isInteger())
        return QVariant(static_cast<qlonglong>(column.getInt64()));
    if (column.isFloat())
        return QVariant(column.getDouble());
    if (column.isBlob())
        return QVariant(QByteArray(static_cast<const char*>(column.getBlob()), column.getBytes()));
    return QVariant(storedText(column));
}
