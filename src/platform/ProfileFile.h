#pragma once
// Private-profile (INI) files, read and written the way existing settings files expect:
// names compared without regard to case, values trimmed and stripped of one pair of
// outer quotes, ';' comment lines, the first section and key of a name win, and a write
// changes only the one value (or inserts the one line) and keeps every other byte.

#include <QByteArray>
#include <QString>
#include <optional>

namespace profile {

// The value of key in section, or nothing when the section or key is missing.
std::optional<QString> readValue(const QByteArray& content, const QString& section, const QString& key);

// content with key in section set to value: an existing key changes its value in place,
// a new key goes after the last key line of its section, a new section goes at the end.
// New lines use the content's own line ending (CRLF for empty content).
QByteArray writeValue(const QByteArray& content, const QString& section, const QString& key, const QString& value);

// The same on a file. A missing or unreadable file reads as empty.
std::optional<QString> readFile(const QString& path, const QString& section, const QString& key);
// Replaces the file atomically; on failure the old file stays whole and error says why.
bool writeFile(const QString& path, const QString& section, const QString& key, const QString& value,
               QString* error);

} // namespace profile
