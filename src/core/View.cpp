#include "core/View.h"

QString viewName(View view)
{
    switch (view) {
    case View::Work: return QStringLiteral("Work");
    case View::Publisher: return QStringLiteral("Publisher");
    case View::Submission: return QStringLiteral("Submission");
    }
    return QString();
}

std::optional<View> viewFromName(const QString& name)
{
    for (View view : {View::Work, View::Publisher, View::Submission}) {
        if (name == viewName(view))
            return view;
    }
    return std::nullopt;
}
