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

bool frmMain::ShowEditor()
{
    return ShowRecordEditor(gViewMode, this);
}

void frmMain::NewRecord()
{
    gEditAction = QStringLiteral("New");
    ShowEditor();
    AfterEditor();
}

void frmMain::AmendRecord()
{
    if (!cmdAmend->isEnabled())
        return;
    const int lastRow = grdData->rows() - 1;
    gEditAction = QStringLiteral("Amend");
    gRecordID = gRowIDs.value(grdData->row() - 1);
    gDataChanged = false;
    gAtFirstRow = grdData->row() == 1;
    gAtLastRow = grdData->row() == lastRow;
    do {
        gNavigate = 0;
        ShowEditor();
        gAtFirstRow = false;
        gAtLastRow = false;
        if (gNavigate == 1 && grdData->row() > 1) {
            grdData->setRow(grdData->row() - 1);
            gRecordID = gRowIDs.value(grdData->row() - 1);
            gAtFirstRow = grdData->row() == 1;
        } else if (gNavigate == 2 && grdData->row() < lastRow) {
            grdData->setRow(grdData->row() + 1);
            gRecordID = gRowIDs.value(grdData->row() - 1);
            gAtLastRow = grdData->row() == lastRow;
        } else if (gNavigate > 0) {
            break;  // no row there to step to
        }
        grdData_Click();
    } while (gNavigate > 0);
    AfterEditor();
}

void frmMain::AfterEditor()
{
    BusyScope busy(this);
    update();
    letPaint();
    if (gAutoRefresh && gDataChanged) {
        FillGrid();
        ReselectRecord();
        gDataChanged = false;
    }
    grdData->setFocus();
}

void frmMain::DeleteRecord()
{
    if (!cmdDelete->isEnabled() || !gDatabase)
        return;
    const int row = grdData->row();
    gSelectID = gRowIDs.value(row - 1);
    Prompts* prompts = services().prompts;
    const std::optional<View> view = viewFromName(gViewMode);
    if (!view)
        return;
    RecordStore store(*gDatabase);
    try {
        const int count = store.outstandingSubmissions(*view, gSelectID);
        if (count >= 1) {
            prompts->message(this, QStringLiteral("Can't delete this ") + gViewMode + QStringLiteral(" - submissions exist for it."),
                             Prompts::Buttons::Ok, Prompts::Icon::Information);
            return;
        }
        if (prompts->message(this, QStringLiteral("Are you sure you want to delete this ") + gViewMode + QStringLiteral("?"),
                             Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::Yes)
            != Prompts::Answer::Yes)
            return;
        store.deleteRecord(*view, gSelectID);
    } catch (const RecordStoreError& e) {
        const QString text = e.isLocked()
            ? e.message()
            : QStringLiteral("The %1 could not be deleted: %2").arg(gViewMode, e.message());
        prompts->message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    if (!gAutoRefresh)
        return;
    const int lastRow = grdData->rows() - 1;
    if (row == lastRow && row >= 3)
        gSelectID = gRowIDs.value(row - 2);
    else if (row < lastRow)
        gSelectID = gRowIDs.value(row);
    else
        gSelectID = 0;
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
    frmSettings settings(this);
    settings.exec();
}
