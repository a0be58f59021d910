// The main window's views: columns, filling the grid, selections, refresh and Find.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QToolButton>
#include <algorithm>

#include "gui/StatusMessage.h"
#include <SQLiteCpp/Database.h>
#include "gui/OverdueRows.h"
#include "gui/Find.h"
#include "core/ListingColumns.h"
#include "core/Listing.h"
#include "gui/FindDialog.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "gui/Prompts.h"
#include "gui/StatusPanel.h"

void MainWindow::setGridColumns()
{
    BusyScope busy(this);
    grid->setVisible(false);
    grid->setRows(2);
    grid->setCols(2);
    grid->setRow(1);
    grid->setCol(1);
    grid->setText(QString());

    const QVector<ColumnDef>& columns = ViewColumns(mView);
    grid->setCols(static_cast<int>(columns.size()));
    grid->setRow(0);
    for (int c = 0; c < columns.size(); ++c) {
        grid->setCol(c);
        grid->setText(columns[c].header);
    }
    grid->fitColumnsToContents();
    mMaxLeftCol = MaxLeftCol(mView);
}

void MainWindow::fillGrid()
{
    BusyScope busy(this);
    // The view's last fill is the best guess of this one's size.
    const int expectedRows = mView == mLastFillView ? grid->rows() - 1 : 0;
    grid->setVisible(false);
    grid->setRows(2);
    grid->setRow(1);
    for (int c = 0; c < grid->cols(); ++c) {
        grid->setCol(c);
        grid->setText(QString());
    }
    statusPanel->setFillMode(true);
    statusPanel->setFillPercent(0);

    QString condition;
    const int chosen = selectionCombo->currentIndex();
    if (chosen >= 0 && chosen < mSelections.size() && !mSelections.at(chosen).isEmpty()) {
        mWhere = resolveSelection(selectionCombo->itemText(chosen), mSelections.at(chosen));
        mSelectionResolved = chosen;
        mWhereView = mView;
        condition = mWhere;
    }

    FillResult rows;
    if (SQLite::Database* database = mSession.database())
    {
        // The Submission view's overdue rows are found as its rows are read.
        const OverdueRule rule = overdueRule(mSession);
        const Currency currency = mSession.settings().currency();
        rows = ReadFillRows(*database, mView, FillStatement(mView, condition), expectedRows,
                            mView == View::Submission ? &rule : nullptr, &currency);
    }
    else
        rows.error = QStringLiteral("The database is not open.");
    mLastFillView = mView;
    if (!rows.ok) {
        // A bad condition must not end the program: say why and list nothing.
        mDesktop.prompts.message(this,
            QStringLiteral("The %1 view could not be listed with this selection:\n\n%2").arg(viewName(mView), rows.error),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }

    const int n = static_cast<int>(rows.ids.size());
    if (n == 0) {
        grid->setCol(0);
        grid->setText(NoRecordsText(mView));
    } else {
        // The rows are read whole before anything is shown, so the progress goes to full
        // at once; counting it up row by row cost more than the rows themselves.
        statusPanel->setFillPercent(100);
        statusPanel->setTextColor(Qt::white);
        letPaint();
        // The last row showing the record to select, as a grid row; 0 for none.
        const auto found = std::find(rows.ids.crbegin(), rows.ids.crend(), mSelectId);
        const int selectedRow = static_cast<int>(rows.ids.crend() - found);
        grid->replaceRows(std::move(rows.cells), std::move(rows.ids));
        if (selectedRow > 0) {
            grid->setRow(selectedRow);
            grid->setCol(0);
            highlightCurrentRow();
        }
        grid->setCol(0);
        grid->setRow(1);
    }

    mMaxTopRow = n > mVisibleRows ? n - mVisibleRows : 1;
    amendButton->setEnabled(n != 0);
    deleteButton->setEnabled(n != 0);
    statusPanel->setFillMode(false);
    statusPanel->setTextColor(Qt::black);
    const QString overdue = markOverdueRows(*grid, mSession, mView, std::move(rows.overdue));
    ShowStatusMessage(this, viewName(mView) + QStringLiteral(" View - ") + QString::number(n) + QStringLiteral(" records found") + overdue, 0);
    grid->fitColumnsToContents();
    grid->setVisible(true);
}

void MainWindow::reselectRecord()
{
    grid->setCol(0);
    if (const int row = mSelectId != 0 ? grid->rowOfId(mSelectId) : 0) {
        grid->setRow(row);
        grid->setTopRow(row > mMaxTopRow ? mMaxTopRow : row);
        highlightCurrentRow();
        return;
    }
    grid->setRow(1);
    grid->setTopRow(1);
    highlightCurrentRow();
}

void MainWindow::loadSelections()
{
    selectionCombo->clear();
    mSelections = QStringList{QString()};
    const SelectionSection section = ReadSelectionSection(mSession.settings(), mView);
    for (int i = 0; i < section.selections.size(); ++i) {
        selectionCombo->addItem(section.selections[i].caption);
        mSelections.insert(i, section.selections[i].condition);
    }
    // Each section's problems are told once a run, not at every view switch.
    if (!section.warnings.isEmpty() && !mReportedSections.count(mView)) {
        mReportedSections.insert(mView);
        mDesktop.prompts.message(this, section.warnings.join(QStringLiteral("\n\n")), Prompts::Buttons::Ok,
                                    Prompts::Icon::Warning);
    }
    selectionCombo->setCurrentIndex(section.defaultIndex);
    // With no selection chosen the view lists all its records rather than nothing.
    onSelectionChosen();
}

QString MainWindow::resolveSelection(const QString& caption, const QString& condition)
{
    const int chosen = selectionCombo->currentIndex();
    if (mDataChanged) {
        mDataChanged = false;
        // Reuse only what this same selection of this same view produced; any other asks
        // for its own values.
        if (chosen == mSelectionResolved && mWhereView == mView && !mWhere.isEmpty())
            return mWhere;
    }
    const QString prompt = tr("Enter a value for this Selection.\n\nWildcard characters (*/?) may be used.");
    return ResolvePlaceholders(condition, [&] { return mDesktop.prompts.input(this, prompt, caption); });
}

void MainWindow::onSelectionChosen()
{
    fillGrid();
    grid->setCol(0);
    grid->setRow(1);
    highlightCurrentRow();
    grid->setFocus();
}

void MainWindow::switchView(View view)
{
    BusyScope busy(this);
    mView = view;
    setGridColumns();
    loadSelections();
    grid->setCol(0);
    grid->setRow(1);
    highlightCurrentRow();
    setCaptionForView();
}

void MainWindow::onRefreshClicked()
{
    BusyScope busy(this);
    fillGrid();
    reselectRecord();
    grid->setFocus();
}

void MainWindow::onFindClicked()
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
        hit = FindCell(*grid->gridModel(), mode == FindMode::First, grid->row(), grid->col(), text, options);
        grid->setFocus();
        if (hit.found) {
            grid->setRow(hit.row);
            grid->setCol(hit.col);
            grid->setTopRow(hit.row > mMaxTopRow ? mMaxTopRow : hit.row);
            grid->setLeftCol(hit.col > mMaxLeftCol ? mMaxLeftCol : hit.col);
            // The whole row is highlighted while the current cell stays on the match.
            highlightCurrentRow();
        }
    }
    if (hit.found) {
        letPaint();
        return;
    }
    mDesktop.prompts.message(this, tr("Sorry - no match found on '") + text + QStringLiteral("'."),
                                Prompts::Buttons::Ok, Prompts::Icon::Information);
}
