#pragma once
// The three kinds of record, listed one at a time by the main window.

#include <QString>
#include <optional>

enum class View { Work, Publisher, Submission };

// "Work", "Publisher" or "Submission": the name in captions, messages and settings.
QString viewName(View view);
// The view of that exact name; nullopt for any other text.
std::optional<View> viewFromName(const QString& name);
