#include "main/EditorLauncher.h"

#include "editors/frmPublisher.h"
#include "editors/frmSubmission.h"
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
        frmPublisher editor(parent);
        editor.run();
        return true;
    }
    if (viewMode == QStringLiteral("Submission")) {
        frmSubmission editor(parent);
        editor.run();
        return true;
    }
    return false;
}
