#pragma once
// The kinds of record a CSV file can bring in.

#include <QString>
#include <optional>

enum class ImportKind { Works, Publishers, Submissions };

// "works", "publishers", "submissions", as the command line writes them.
QString importKindName(ImportKind kind);
std::optional<ImportKind> importKindFromName(const QString& name);
