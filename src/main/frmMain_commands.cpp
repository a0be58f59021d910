// The main window's record commands: New, Amend (stepping through the grid's rows) and
// Delete, and the keys and clicks of the grid that start them.

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QToolButton>

#include "app/modQuillary.h"
#include "core/RecordStore.h"
#include "hotkeys/frmSettings.h"
#include "main/EditorLauncher.h"
#include "main/frmMain.h"
#include "platform/Grid.h"
#include "platform/Services.h"

EditResult frmMain::ShowEditor(const EditRequest& request)
{
    return ShowRecordEditor(request, mSession, mDesktop, this);
}

void frmMain::ApplyEditResult(const EditResult& result)
{
    if (result.dataChanged)
        mDataChanged = true;
    if (result.selectId != 0)
        mSelectId = result.selectId;
}

void frmMain::NewRecord()
{
    ApplyEditResult(ShowEditor(EditRequest{mView, EditMode::New, 0, false, false}));
    AfterEditor();
}

void frmMain::AmendRecord()
{
    if (!cmdAmend->isEnabled())
        return;
    const int lastRow = grdData->rows() - 1;
    mDataChanged = false;
    EditRequest request{mView, EditMode::Amend, grdData->rowId(grdData->row()), grdData->row() == 1,
                        grdData->row() == lastRow};
    for (;;) {
        const EditResult result = ShowEditor(request);
        ApplyEditResult(result);
        request.atFirstRow = false;
        request.atLastRow = false;
        if (result.step == Step::Previous && grdData->row() > 1) {
            grdData->setRow(grdData->row() - 1);
            request.atFirstRow = grdData->row() == 1;
        } else if (result.step == Step::Next && grdData->row() < lastRow) {
            grdData->setRow(grdData->row() + 1);
            request.atLastRow = grdData->row() == lastRow;
        } else if (result.step != Step::None) {
            break;  // no row there to step to
        }
        request.recordId = grdData->rowId(grdData->row());
        grdData_Click();
        if (result.step == Step::None)
            break;
    }
    AfterEditor();
}

void frmMain::AfterEditor()
{
    BusyScope busy(this);
    update();
    letPaint();
    if (mSession.settings().autoRefresh() && mDataChanged) {
        FillGrid();
        ReselectRecord();
        mDataChanged = false;
    }
    grdData->setFocus();
}

void frmMain::DeleteRecord()
{
    SQLite::Database* database = mSession.database();
    if (!cmdDelete->isEnabled() || !database)
        return;
    const int row = grdData->row();
    mSelectId = grdData->rowId(row);
    const QString viewMode = viewName(mView);
    Prompts* prompts = &mDesktop.prompts;
    RecordStore store(*database);
    try {
        const int count = store.outstandingSubmissions(mView, mSelectId);
        if (count >= 1) {
            prompts->message(this, QStringLiteral("Can't delete this ") + viewMode + QStringLiteral(" - submissions exist for it."),
                             Prompts::Buttons::Ok, Prompts::Icon::Information);
            return;
        }
        if (prompts->message(this, QStringLiteral("Are you sure you want to delete this ") + viewMode + QStringLiteral("?"),
                             Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::Yes)
            != Prompts::Answer::Yes)
            return;
        store.deleteRecord(mView, mSelectId);
    } catch (const RecordStoreError& e) {
        const QString text = e.isLocked()
            ? e.message()
            : QStringLiteral("The %1 could not be deleted: %2").arg(viewMode, e.message());
        prompts->message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    if (!mSession.settings().autoRefresh())
        return;
    const int lastRow = grdData->rows() - 1;
    if (row == lastRow && row >= 3)
        mSelectId = grdData->rowId(row - 1);
    else if (row < lastRow)
        mSelectId = grdData->rowId(row + 1);
    else
        mSelectId = 0;
    BusyScope busy(this);
    FillGrid();
    ReselectRecord();
    grdData->setFocus();
}

void frmMain::grdData_DblClick()
{
    if (cmdAmend->isEnabled())
        AmendRecord();
}

void frmMain::grdData_KeyDown(QKeyEvent* event, bool* consumed)
{
    if (isBusy()) {
        // The grid is being rebuilt: no key may act on the rows it is about to replace.
        *consumed = true;
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    {
        // The refresh after the editor moves to column 0; Enter brings the user back to
        // the column they were in.
        const int column = grdData->col();
        grdData_DblClick();
        if (grdData->rows() > 1 && column < grdData->cols() && grdData->col() != column) {
            grdData->setCol(column);
            grdData_Click();
        }
        *consumed = true;
        break;
    }
    case Qt::Key_Insert:
        NewRecord();
        *consumed = true;
        break;
    case Qt::Key_Delete:
        DeleteRecord();
        *consumed = true;
        break;
    case Qt::Key_Home:
        if (ctrl) {
            grdData->setCol(0);
            grdData->setRow(1);
            grdData->setTopRow(1);
            grdData->setLeftCol(0);
            grdData_Click();
            *consumed = true;
        }
        break;
    case Qt::Key_End:
        if (ctrl) {
            grdData->setCol(grdData->cols() - 1);
            grdData->setRow(grdData->rows() - 1);
            grdData->setTopRow(mMaxTopRow);
            grdData->setLeftCol(mMaxLeftCol);
            grdData_Click();
            *consumed = true;
        }
        break;
    default:
        break;
    }
}


void frmMain::cmdSettings_Click()
{
    frmSettings settings(mSession.settings(), mDesktop.prompts, this);
    settings.exec();
}
