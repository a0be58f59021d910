#include "core/StoredValues.h"

#include <QByteArray>
#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

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

bool storedFlag(const SQLite::Column& column)
{
    return !column.isNull() && column.getInt64() != 0;
}

std::optional<qint64> storedInteger(const SQLite::Column& column)
{
    bool isNumber = false;
    const qlonglong n = storedValue(column).toLongLong(&isNumber);
    return isNumber ? std::optional<qint64>(n) : std::nullopt;
}

void bindStoredValue(SQLite::Statement& statement, int index, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        statement.bind(index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::ULongLong:
        statement.bind(index, static_cast<int64_t>(value.toLongLong()));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        statement.bind(index, value.toDouble());
        break;
    default:
        statement.bind(index, value.toString().toStdString());
        break;
    }
}
