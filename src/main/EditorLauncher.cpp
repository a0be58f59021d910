#include "main/EditorLauncher.h"

#include "editors/frmWork.h"

bool ShowRecordEditor(const QString& viewMode, QWidget* parent)
{
    // Every showing is a fresh editor window: it loads, runs modally and is gone.
    if (viewMode == QStringLiteral("Work")) {
        frmWork editor(parent);
        editor.run();
        return true;
    }
    if (viewMode == QStringLiteral("Publisher")) {
        // frmPublisher: not built yet.
        return false;
    }
    if (viewMode == QStringLiteral("Submission")) {
        // frmSubmission: not built yet.
        return false;
    }
    return false;
}
