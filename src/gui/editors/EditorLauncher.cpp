#include "gui/editors/EditorLauncher.h"

#include "gui/editors/PublisherEditor.h"
#include "gui/editors/SubmissionEditor.h"
#include "gui/editors/WorkEditor.h"

EditResult showRecordEditor(const EditRequest& request, Session& session, Desktop desktop, QWidget* parent)
{
    switch (request.view) {
    case View::Work: {
        WorkEditor editor(session, desktop, parent);
        return editor.run(request);
    }
    case View::Publisher: {
        PublisherEditor editor(session, desktop, parent);
        return editor.run(request);
    }
    case View::Submission: {
        SubmissionEditor editor(session, desktop, parent);
        return editor.run(request);
    }
    }
    return EditResult{};
}
