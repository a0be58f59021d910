#pragma once
// Private-profile (INI) files, read and written the way existing settings files expect:
// names compared without regard to case, values trimmed and stripped of one pair of
// outer quotes, ';' comment lines, the first section and key of a name win, and a write
// changes only the value's characters (or inserts the one line) and keeps every other byte.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

namespace profile {

struct Setting {
    QString section;
    QString key;
    QString value;
};

// The value of key in section, or nothing when the section or key is missing.
std::optional<QString> readValue(const QByteArray& content, const QString& section, const QString& key);

// Every value of a file's content, read once, by section and key: a load that asks for
// thousands of keys reads and splits the file once, not once a key. value() gives what
// readValue() gives on the same content.
class Index {
public:
    Index() = default;
    explicit Index(const QByteArray& content);
    std::optional<QString> value(const QString& section, const QString& key) const;

private:
    // Case-folded section name -> case-folded key name -> value; the first of a name only.
    QHash<QString, QHash<QString, QString>> mValues;
};

// content with key in section set to value: an existing key changes only its value's
// characters (blanks and quotes around them stay), a new key goes after the last key line
// of its section, a new section goes at the end. New lines use the content's own line
// ending (CRLF for empty content).
QByteArray writeValue(const QByteArray& content, const QString& section, const QString& key, const QString& value);
// Each setting in turn, as writeValue.
QByteArray writeValues(QByteArray content, const QVector<Setting>& settings);

// The same on a file. A missing or unreadable file reads as empty.
std::optional<QString> readFile(const QString& path, const QString& section, const QString& key);
// The whole file; nothing when it is missing or cannot be read.
std::optional<QByteArray> readContent(const QString& path);
// Writes all the settings in one atomic replacement of the file, which keeps the old
// file's permissions. On failure the old file stays as it was and error says why; a file
// without write permission for its owner is refused, even where the user could write it.
bool writeFile(const QString& path, const QVector<Setting>& settings, QString* error);
bool writeFile(const QString& path, const QString& section, const QString& key, const QString& value,
               QString* error);

} // namespace profile
