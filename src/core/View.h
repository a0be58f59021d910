#pragma once
// The three kinds of record the program lists and edits.

#include <QString>
#include <optional>

enum class View { Work, Publisher, Submission };

// The view's own name, which is also its table's: "Work", "Publisher", "Submission".
inline QString viewName(View view)
{
    switch (view) {
    case View::Work:
        return QStringLiteral("Work");
    case View::Publisher:
        return QStringLiteral("Publisher");
    case View::Submission:
        break;
    }
    return QStringLiteral("Submission");
}

// The view of that name (exact letter case, as the program writes it); nothing for any other text.
inline std::optional<View> viewFromName(const QString& name)
{
    for (View view : {View::Work, View::Publisher, View::Submission}) {
        if (name == viewName(view))
            return view;
    }
    return std::nullopt;
}
