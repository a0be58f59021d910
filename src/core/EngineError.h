#pragma once
// The engine's errors as the program tells them apart.

#include <QString>
#include <exception>

namespace db {

// True when the engine gave up waiting for a lock that another connection holds.
bool isLockedByAnother(const std::exception& e);

// The engine's own text of an error.
QString engineText(const std::exception& e);

} // namespace db
