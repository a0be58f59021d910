#include "core/CurrentListing.h"

void CurrentListing::setView(View view, QVector<Selection> selections, int chosen)
{
    mView = view;
    mSelections = std::move(selections);
    choose(chosen);
}

void CurrentListing::choose(int index)
{
    mChosen = index >= 0 && index < mSelections.size() ? index : -1;
}

QString CurrentListing::conditionForFill(const std::function<QString(const QString& caption)>& ask)
{
    if (mChosen < 0 || mSelections.at(mChosen).condition.isEmpty())
        return QString();
    const Selection& chosen = mSelections.at(mChosen);
    if (mDataChanged) {
        mDataChanged = false;
        // Only what this same selection of this same view produced; any other asks anew.
        if (mChosen == mResolvedChoice && mResolvedView == mView && !mResolved.isEmpty())
            return mResolved;
    }
    mResolved = resolvePlaceholders(chosen.condition, [&] { return ask(chosen.caption); });
    mResolvedChoice = mChosen;
    mResolvedView = mView;
    return mResolved;
}
