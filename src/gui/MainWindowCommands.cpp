// The main window's record commands: New, Amend (stepping through the listing's rows) and
// Delete, the grid's Enter key, and the Settings, Statistics and Export commands.

#include <QApplication>

#include "core/OutputGuard.h"
#include "core/RecordStore.h"
#include "gui/GridView.h"
#include "gui/ListingModel.h"
#include "gui/ImportWizard.h"
#include "gui/MainWindow.h"
#include "gui/SettingsDialog.h"
#include "gui/StatisticsWindow.h"
#include "gui/TableExport.h"
#include "gui/editors/EditorLauncher.h"

EditResult MainWindow::showEditor(const EditRequest& request)
{
    return showRecordEditor(request, mSession, mDesktop, this);
}

void MainWindow::applyEditResult(const EditResult& result)
{
    if (result.dataChanged)
        mListing.setDataChanged(true);
    if (result.selectId != 0)
        mListing.setRecordToSelect(result.selectId);
}

int MainWindow::currentRecord() const
{
    return grid->listingModel()->recordId(grid->currentRow());
}

void MainWindow::newRecord()
{
    applyEditResult(showEditor(EditRequest{view(), EditMode::New, 0, false, false}));
    afterEditor();
}

void MainWindow::amendRecord()
{
    if (!mListing.hasRecords())
        return;
    const int lastRow = grid->listingModel()->recordCount() - 1;
    int row = std::max(grid->currentRow(), 0);
    mListing.setDataChanged(false);
    EditRequest request{view(), EditMode::Amend, currentRecord(), row == 0, row == lastRow};
    for (;;) {
        const EditResult result = showEditor(request);
        applyEditResult(result);
        request.atFirstRow = false;
        request.atLastRow = false;
        if (result.step == Step::None)
            break;
        // The editor steps through the rows of the listing as it was when the command began.
        if (result.step == Step::Previous && row > 0)
            --row;
        else if (result.step == Step::Next && row < lastRow)
            ++row;
        else
            break;  // no row there to step to
        grid->setCurrentCell(row, std::max(grid->currentColumn(), 0));
        request.atFirstRow = row == 0;
        request.atLastRow = row == lastRow;
        request.recordId = currentRecord();
    }
    afterEditor();
}

void MainWindow::afterEditor()
{
    BusyScope busy(this);
    update();
    letPaint();
    if (mSession.settings().autoRefresh() && mListing.dataChanged()) {
        fillGrid();
        reselectRecord();
        mListing.setDataChanged(false);
    }
    grid->setFocus();
}

void MainWindow::deleteRecord()
{
    if (!mListing.hasRecords() || !mSession.isOpen())
        return;
    const int row = grid->currentRow();
    const int id = currentRecord();
    mListing.setRecordToSelect(id);
    const QString viewMode = viewName(view());
    Prompts& prompts = mDesktop.prompts;
    RecordStore store = mSession.store();
    try {
        if (store.outstandingSubmissions(view(), id) >= 1) {
            prompts.message(this, QStringLiteral("Can't delete this ") + viewMode + QStringLiteral(" - submissions exist for it."),
                            Prompts::Buttons::Ok, Prompts::Icon::Information);
            return;
        }
        if (prompts.message(this, QStringLiteral("Are you sure you want to delete this ") + viewMode + QStringLiteral("?"),
                            Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::Yes)
            != Prompts::Answer::Yes)
            return;
        store.deleteRecord(view(), id);
    } catch (const RecordStoreError& e) {
        const QString text = e.isLocked()
            ? e.message()
            : QStringLiteral("The %1 could not be deleted: %2").arg(viewMode, e.message());
        prompts.message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    if (!mSession.settings().autoRefresh())
        return;
    // The neighbour takes the deleted row's place: the one below, or above for the last row.
    const ListingModel* model = grid->listingModel();
    const int lastRow = model->recordCount() - 1;
    if (row == lastRow && row >= 2)
        mListing.setRecordToSelect(model->recordId(row - 1));
    else if (row < lastRow)
        mListing.setRecordToSelect(model->recordId(row + 1));
    else
        mListing.setRecordToSelect(0);
    BusyScope busy(this);
    fillGrid();
    reselectRecord();
    grid->setFocus();
}

void MainWindow::onGridEnterPressed()
{
    if (isBusy())
        return;
    // The refresh after the editor moves to column 0; Enter brings the user back to the
    // column they were in.
    const int column = grid->currentColumn();
    amendAction->trigger();
    if (column >= 0 && grid->currentRow() >= 0 && grid->currentColumn() != column)
        grid->setCurrentCell(grid->currentRow(), column);
}

void MainWindow::showSettings()
{
    SettingsDialog settings(mSession.settings(), mDesktop.prompts, this);
    settings.exec();
}

void MainWindow::showStatistics()
{
    // One window, kept between uses; it reads the records again each time it is asked for.
    if (!mStatistics) {
        mStatistics = new StatisticsWindow(mSession, mDesktop.prompts, this);
        mStatistics->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    if (!mStatistics->reload())
        return;
    mStatistics->show();
    mStatistics->raise();
    mStatistics->activateWindow();
}

void MainWindow::exportListing()
{
    // The "nothing found" line of an empty listing is no record.
    const bool empty = !mListing.hasRecords();
    const TableText table = shownTable(*grid, [empty](int) { return empty; });
    const QString suggested = tr("%1s.csv").arg(viewName(view()).toLower());
    exportTableAsCsv(this, mDesktop.prompts, ownFilesOf(mSession), suggested, table);
}

void MainWindow::importFile()
{
    if (runImportWizard(this, mSession, mDesktop.prompts))
        refresh();
}

void MainWindow::undoImport()
{
    if (runUndoLastImport(this, mSession, mDesktop.prompts))
        refresh();
}
