// The main window's views: columns, filling the grid, selections, refresh and Find.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QToolButton>

#include "app/modQuillary.h"
#include <SQLiteCpp/Database.h>
#include "main/Find.h"
#include "main/GridFill.h"
#include "main/Selections.h"
#include "main/frmFind.h"
#include "main/frmMain.h"
#include "platform/Grid.h"
#include "platform/Services.h"
#include "platform/StatusPanel.h"

void frmMain::SetGridColumns()
{
    BusyScope busy(this);
    grdData->setVisible(false);
    grdData->setRows(2);
    grdData->setCols(2);
    grdData->setRow(1);
    grdData->setCol(1);
    grdData->setText(QString());

    const QVector<ColumnDef>& columns = ViewColumns(mView);
    grdData->setCols(static_cast<int>(columns.size()));
    grdData->setRow(0);
    for (int c = 0; c < columns.size(); ++c) {
        grdData->setCol(c);
        grdData->setText(columns[c].header);
    }
    grdData->fitColumnsToContents();
    mMaxLeftCol = MaxLeftCol(mView);
}

void frmMain::FillGrid()
{
    BusyScope busy(this);
    grdData->setVisible(false);
    grdData->setRows(2);
    grdData->setRow(1);
    for (int c = 0; c < grdData->cols(); ++c) {
        grdData->setCol(c);
        grdData->setText(QString());
    }
    pnlStatus->setFillMode(true);
    pnlStatus->setFillPercent(0);

    QString condition;
    const int chosen = cboSQL->currentIndex();
    if (chosen >= 0 && chosen < mSelections.size() && !mSelections.at(chosen).isEmpty()) {
        mWhere = ResolveSelection(cboSQL->itemText(chosen), mSelections.at(chosen));
        mSelectionResolved = chosen;
        mWhereView = mView;
        condition = mWhere;
    }

    FillResult rows;
    if (SQLite::Database* database = mSession.database())
        rows = ReadFillRows(*database, mView, FillStatement(mView, condition));
    else
        rows.error = QStringLiteral("The database is not open.");
    if (!rows.ok) {
        // A bad condition must not end the program: say why and list nothing.
        mDesktop.prompts.message(this,
            QStringLiteral("The %1 view could not be listed with this selection:\n\n%2").arg(viewName(mView), rows.error),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }

    const int n = static_cast<int>(rows.ids.size());
    if (n == 0) {
        grdData->setCol(0);
        grdData->setText(NoRecordsText(mView));
    } else {
        const int cols = grdData->cols();
        const float step = 100.0f / static_cast<float>(n);
        float accumulated = 0.0f;
        int selectedRow = -1;
        QStringList cells;
        for (int r = 0; r < n; ++r) {
            cells.clear();
            for (int c = 0; c < cols; ++c)
                cells << rows.cells[static_cast<size_t>(r) * cols + c];
            grdData->addRow(cells, rows.ids[r]);
            if (rows.ids[r] == mSelectId)
                selectedRow = grdData->rows() - 1;
            accumulated += step;
            const int percent = static_cast<int>(accumulated);
            if (percent > pnlStatus->fillPercent()) {
                pnlStatus->setFillPercent(percent);
                if (percent >= 50)
                    pnlStatus->setTextColor(Qt::white);
            }
        }
        pnlStatus->setFillPercent(100);
        letPaint();
        grdData->removeRow(1);
        if (selectedRow > 1) {
            grdData->setRow(selectedRow - 1);
            grdData->setCol(0);
            grdData_Click();
        }
        grdData->setCol(0);
        grdData->setRow(1);
    }

    mMaxTopRow = n > mVisibleRows ? n - mVisibleRows : 1;
    cmdAmend->setEnabled(n != 0);
    cmdDelete->setEnabled(n != 0);
    pnlStatus->setFillMode(false);
    pnlStatus->setTextColor(Qt::black);
    ShowStatusMessage(this, viewName(mView) + QStringLiteral(" View - ") + QString::number(n) + QStringLiteral(" records found"), 0);
    grdData->fitColumnsToContents();
    grdData->setVisible(true);
}

void frmMain::ReselectRecord()
{
    grdData->setCol(0);
    if (const int row = mSelectId != 0 ? grdData->rowOfId(mSelectId) : 0) {
        grdData->setRow(row);
        grdData->setTopRow(row > mMaxTopRow ? mMaxTopRow : row);
        grdData_Click();
        return;
    }
    grdData->setRow(1);
    grdData->setTopRow(1);
    grdData_Click();
}

void frmMain::LoadSelections()
{
    cboSQL->clear();
    mSelections = QStringList{QString()};
    const SelectionSection section = ReadSelectionSection(mSession.settings(), mView);
    for (int i = 0; i < section.selections.size(); ++i) {
        cboSQL->addItem(section.selections[i].caption);
        mSelections.insert(i, section.selections[i].condition);
    }
    // Each section's problems are told once a run, not at every view switch.
    if (!section.warnings.isEmpty() && !mReportedSections.count(mView)) {
        mReportedSections.insert(mView);
        mDesktop.prompts.message(this, section.warnings.join(QStringLiteral("\n\n")), Prompts::Buttons::Ok,
                                    Prompts::Icon::Warning);
    }
    cboSQL->setCurrentIndex(section.defaultIndex);
    // With no selection chosen the view lists all its records rather than nothing.
    cboSQL_Click();
}

QString frmMain::ResolveSelection(const QString& caption, const QString& condition)
{
    const int chosen = cboSQL->currentIndex();
    if (mDataChanged) {
        mDataChanged = false;
        // Reuse only what this same selection of this same view produced; any other asks
        // for its own values.
        if (chosen == mSelectionResolved && mWhereView == mView && !mWhere.isEmpty())
            return mWhere;
    }
    const QString prompt = QStringLiteral("Enter a value for this Selection.\n\nWildcard characters (*/?) may be used.");
    return ResolvePlaceholders(condition, [&] { return mDesktop.prompts.input(this, prompt, caption); });
}

void frmMain::cboSQL_Click()
{
    FillGrid();
    grdData->setCol(0);
    grdData->setRow(1);
    grdData_Click();
    grdData->setFocus();
}

void frmMain::SwitchViewByButton(View view)
{
    BusyScope busy(this);
    mView = view;
    SetGridColumns();
    LoadSelections();
    grdData->setCol(0);
    grdData->setRow(1);
    grdData_Click();
    setCaptionForView();
}

void frmMain::cmdRefresh_Click()
{
    BusyScope busy(this);
    FillGrid();
    ReselectRecord();
    grdData->setFocus();
}

void frmMain::cmdFind_Click()
{
    if (!mFind)
        mFind = new frmFind(this);
    mFind->exec();
    if (!mFind->findText().isEmpty())
        FindInGrid(FindMode::First, mFind->findText());
}

void frmMain::FindInGrid(FindMode mode, const QString& text)
{
    FindHit hit;
    {
        BusyScope busy(this);
        letPaint();
        const FindOptions options = mFind ? FindOptions{mFind->matchCase(), mFind->wholeCell()} : FindOptions{};
        hit = FindCell(*grdData->gridModel(), mode == FindMode::First, grdData->row(), grdData->col(), text, options);
        grdData->setFocus();
        if (hit.found) {
            grdData->setRow(hit.row);
            grdData->setCol(hit.col);
            grdData->setTopRow(hit.row > mMaxTopRow ? mMaxTopRow : hit.row);
            grdData->setLeftCol(hit.col > mMaxLeftCol ? mMaxLeftCol : hit.col);
            // The whole row is highlighted while the current cell stays on the match.
            grdData_Click();
        }
    }
    if (hit.found) {
        letPaint();
        return;
    }
    mDesktop.prompts.message(this, QStringLiteral("Sorry - no match found on '") + text + QStringLiteral("'."),
                                Prompts::Buttons::Ok, Prompts::Icon::Information);
}
