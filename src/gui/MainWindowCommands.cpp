// The main window's record commands: New, Amend (stepping through the grid's rows) and
// Delete, and the keys and clicks of the grid that start them.

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QToolButton>

#include "gui/StatusMessage.h"
#include "core/RecordStore.h"
#include "gui/SettingsDialog.h"
#include "gui/editors/EditorLauncher.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "gui/Prompts.h"

EditResult MainWindow::showEditor(const EditRequest& request)
{
    return showRecordEditor(request, mSession, mDesktop, this);
}

void MainWindow::applyEditResult(const EditResult& result)
{
    if (result.dataChanged)
        mDataChanged = true;
    if (result.selectId != 0)
        mSelectId = result.selectId;
}

void MainWindow::newRecord()
{
    applyEditResult(showEditor(EditRequest{mView, EditMode::New, 0, false, false}));
    afterEditor();
}

void MainWindow::amendRecord()
{
    if (!amendButton->isEnabled())
        return;
    const int lastRow = grid->rows() - 1;
    mDataChanged = false;
    EditRequest request{mView, EditMode::Amend, grid->rowId(grid->row()), grid->row() == 1,
                        grid->row() == lastRow};
    for (;;) {
        const EditResult result = showEditor(request);
        applyEditResult(result);
        request.atFirstRow = false;
        request.atLastRow = false;
        if (result.step == Step::Previous && grid->row() > 1) {
            grid->setRow(grid->row() - 1);
            request.atFirstRow = grid->row() == 1;
        } else if (result.step == Step::Next && grid->row() < lastRow) {
            grid->setRow(grid->row() + 1);
            request.atLastRow = grid->row() == lastRow;
        } else if (result.step != Step::None) {
            break;  // no row there to step to
        }
        request.recordId = grid->rowId(grid->row());
        highlightCurrentRow();
        if (result.step == Step::None)
            break;
    }
    afterEditor();
}

void MainWindow::afterEditor()
{
    BusyScope busy(this);
    update();
    letPaint();
    if (mSession.settings().autoRefresh() && mDataChanged) {
        fillGrid();
        reselectRecord();
        mDataChanged = false;
    }
    grid->setFocus();
}

void MainWindow::deleteRecord()
{
    SQLite::Database* database = mSession.database();
    if (!deleteButton->isEnabled() || !database)
        return;
    const int row = grid->row();
    mSelectId = grid->rowId(row);
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
    const int lastRow = grid->rows() - 1;
    if (row == lastRow && row >= 3)
        mSelectId = grid->rowId(row - 1);
    else if (row < lastRow)
        mSelectId = grid->rowId(row + 1);
    else
        mSelectId = 0;
    BusyScope busy(this);
    fillGrid();
    reselectRecord();
    grid->setFocus();
}

void MainWindow::onGridDoubleClicked()
{
    if (amendButton->isEnabled())
        amendRecord();
}

void MainWindow::onGridKeyDown(QKeyEvent* event, bool* consumed)
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
        const int column = grid->col();
        onGridDoubleClicked();
        if (grid->rows() > 1 && column < grid->cols() && grid->col() != column) {
            grid->setCol(column);
            highlightCurrentRow();
        }
        *consumed = true;
        break;
    }
    case Qt::Key_Insert:
        newRecord();
        *consumed = true;
        break;
    case Qt::Key_Delete:
        deleteRecord();
        *consumed = true;
        break;
    case Qt::Key_Home:
        if (ctrl) {
            grid->setCol(0);
            grid->setRow(1);
            grid->setTopRow(1);
            grid->setLeftCol(0);
            highlightCurrentRow();
            *consumed = true;
        }
        break;
    case Qt::Key_End:
        if (ctrl) {
            grid->setCol(grid->cols() - 1);
            grid->setRow(grid->rows() - 1);
            grid->setTopRow(mMaxTopRow);
            grid->setLeftCol(mMaxLeftCol);
            highlightCurrentRow();
            *consumed = true;
        }
        break;
    default:
        break;
    }
}


void MainWindow::onSettingsClicked()
{
    SettingsDialog settings(mSession.settings(), mDesktop.prompts, this);
    settings.exec();
}
