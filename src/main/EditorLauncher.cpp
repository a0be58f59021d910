#include "main/EditorLauncher.h"

#include "editors/frmPublisher.h"
#include "editors/frmSubmission.h"
#include "editors/frmWork.h"

EditResult ShowRecordEditor(const EditRequest& request, Session& session, Desktop desktop, QWidget* parent)
{
    switch (request.view) {
    case View::Work: {
        frmWork editor(session, desktop, parent);
        return editor.run(request);
    }
    case View::Publisher: {
        frmPublisher editor(session, desktop, parent);
        return editor.run(request);
    }
    case View::Submission: {
        frmSubmission editor(session, desktop, parent);
        return editor.run(request);
    }
    }
    return EditResult{};
}
