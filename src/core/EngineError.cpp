#include "core/EngineError.h"

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

namespace db {

bool isLockedByAnother(const std::exception& e)
{
    const auto* engine = dynamic_cast<const SQLite::Exception*>(&e);
    // Extended codes (SQLITE_BUSY_SNAPSHOT, ...) carry the primary code in their low byte.
    return engine && (engine->getErrorCode() & 0xff) == SQLITE_BUSY;
}

QString engineText(const std::exception& e)
{
    return QString::fromUtf8(e.what());
}

} // namespace db
