// The main window's listing: views, selections, filling the grid, refresh and Find.

#include <QComboBox>

#include "core/Cancellation.h"
#include "core/ListingColumns.h"
#include "core/ListingReader.h"
#include "gui/Find.h"
#include "gui/FindDialog.h"
#include "gui/GridView.h"
#include "gui/ListingModel.h"
#include "gui/MainWindow.h"
#include "gui/OverdueRows.h"
#include "gui/StatusMessage.h"
#include "gui/StatusPanel.h"

namespace {

QStringList headers(View view)
{
    QStringList headers;
    for (const ColumnDef& column : viewColumns(view))
        headers << column.header;
    return headers;
}

} // namespace

void MainWindow::switchView(View view)
{
    BusyScope busy(this);
    mListing.setView(view, {}, -1);
    mLastFillRows = -1;
    setColumns();
    loadSelections();
    setCaptionForView();
}

void MainWindow::setColumns()
{
    grid->setVisible(false);
    grid->listingModel()->setListing(headers(view()), {}, {});
    grid->setMaxLeftColumn(maxLeftCol(view()));
    grid->fitColumnsToContents();
}

void MainWindow::loadSelections()
{
    const SelectionSection section = readSelectionSection(mSession.settings(), view());
    selectionCombo->clear();
    for (const Selection& selection : section.selections)
        selectionCombo->addItem(selection.caption);
    mListing.setView(view(), section.selections, section.defaultIndex);
    // Each section's problems are told once a run, not at every view switch.
    if (!section.warnings.isEmpty() && !mReportedSections.count(view())) {
        mReportedSections.insert(view());
        mDesktop.prompts.message(this, section.warnings.join(QStringLiteral("\n\n")), Prompts::Buttons::Ok,
                                 Prompts::Icon::Warning);
    }
    selectionCombo->setCurrentIndex(mListing.chosen());
    // With no selection chosen the view lists all its records rather than nothing.
    onSelectionActivated(mListing.chosen());
}

void MainWindow::onSelectionActivated(int index)
{
    mListing.choose(index);
    fillGrid();
    grid->setFocus();
}

void MainWindow::fillGrid()
{
    BusyScope busy(this);
    grid->setVisible(false);
    statusPanel->setFillMode(true);
    statusPanel->setFillPercent(0);

    const QString prompt = tr("Enter a value for this Selection.\n\nWildcard characters (*/?) may be used.");
    const QString condition = mListing.conditionForFill(
        [&](const QString& caption) { return mDesktop.prompts.input(this, prompt, caption); });
    Cancellation cancellation([&] { return pollStop(cancellation); });
    FillResult rows = readListing(mSession, view(), condition, std::max(mLastFillRows, 0), &cancellation);
    endStoppable();
    if (!rows.ok && !rows.cancelled) {
        // A bad condition must not end the program: say why and list nothing.
        mDesktop.prompts.message(this,
            QStringLiteral("The %1 view could not be listed with this selection:\n\n%2").arg(viewName(view()), rows.error),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
    const int n = static_cast<int>(rows.ids.size());
    if (n > 0) {
        // The rows are read whole before anything is shown, so the progress goes to full
        // at once; counting it up row by row cost more than the rows themselves.
        statusPanel->setFillPercent(100);
        statusPanel->setTextColor(Qt::white);
        letPaint();
    }
    ListingModel* model = grid->listingModel();
    QString overdue;
    if (rows.overdue)
        overdue = markOverdueRows(*model, std::move(*rows.overdue));
    else
        clearOverdueRows(*model);
    model->setListing(headers(view()), std::move(rows.cells), std::move(rows.ids), noRecordsText(view()));
    mListing.setListed(n);
    mLastFillRows = n;
    grid->setCurrentCell(0, 0);
    updateCommands();

    statusPanel->setFillMode(false);
    statusPanel->setTextColor(Qt::black);
    if (rows.cancelled)
        showStatusMessage(this, viewName(view()) + tr(" View - listing cancelled"), 0);
    else
        showStatusMessage(this, viewName(view()) + QStringLiteral(" View - ") + QString::number(n)
                              + QStringLiteral(" records found") + overdue, 0);
    grid->fitColumnsToContents();
    grid->setVisible(true);
}

void MainWindow::reselectRecord()
{
    // The record saved or chosen last, else the first row.
    const int id = mListing.recordToSelect();
    const int row = std::max(id != 0 ? grid->listingModel()->rowOfRecord(id) : 0, 0);
    grid->setCurrentCell(row, 0);
    grid->scrollToCell(row, 0);
}

void MainWindow::refresh()
{
    BusyScope busy(this);
    fillGrid();
    reselectRecord();
    grid->setFocus();
}

void MainWindow::showFindDialog()
{
    if (!mFind)
        mFind = new FindDialog(this);
    mFind->exec();
    if (!mFind->findText().isEmpty())
        findInGrid(FindMode::First, mFind->findText());
}

void MainWindow::findInGrid(FindMode mode, const QString& text)
{
    FindHit hit;
    {
        BusyScope busy(this);
        letPaint();
        const FindOptions options = mFind ? FindOptions{mFind->matchCase(), mFind->wholeCell()} : FindOptions{};
        Cancellation cancellation([&] { return pollStop(cancellation); });
        hit = findCell(*grid->listingModel(), mode == FindMode::First, grid->currentRow(), grid->currentColumn(),
                       text, options, &cancellation);
        endStoppable();
        if (hit.cancelled)
            return;
        grid->setFocus();
        if (hit.found) {
            // The whole row is highlighted while the current cell stays on the match.
            grid->setCurrentCell(hit.row, hit.column);
            grid->scrollToCell(hit.row, hit.column);
        }
    }
    if (hit.found) {
        letPaint();
        return;
    }
    mDesktop.prompts.message(this, tr("Sorry - no match found on '") + text + QStringLiteral("'."),
                             Prompts::Buttons::Ok, Prompts::Icon::Information);
}
