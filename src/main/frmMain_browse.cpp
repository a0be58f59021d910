// The main window's views: columns, filling the grid, selections, refresh and Find.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QToolButton>

#include "app/modQuillary.h"
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

    const QVector<ColumnDef>& columns = ViewColumns(gViewMode);
    grdData->setCols(static_cast<int>(columns.size()));
    grdData->setRow(0);
    for (int c = 0; c < columns.size(); ++c) {
        grdData->setCol(c);
        grdData->setText(columns[c].header);
    }
    grdData->fitColumnsToContents();
    mMaxLeftCol = MaxLeftCol(gViewMode);
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
    if (chosen >= 0 && chosen < gSelections.size() && !gSelections.at(chosen).isEmpty()) {
        mWhere = ResolveSelection(cboSQL->itemText(chosen), gSelections.at(chosen));
        mSelectionResolved = chosen;
        mWhereView = gViewMode;
        condition = mWhere;
    }

    FillResult rows;
    if (gDatabase)
        rows = ReadFillRows(*gDatabase, gViewMode, FillStatement(gViewMode, condition));
    else
        rows.error = QStringLiteral("The database is not open.");
    if (!rows.ok) {
        // A bad condition must not end the program: say why and list nothing.
        services().prompts->message(this,
            QStringLiteral("The %1 view could not be listed with this selection:\n\n%2").arg(gViewMode, rows.error),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }

    const int n = static_cast<int>(rows.ids.size());
    if (n == 0) {
        grdData->setCol(0);
        grdData->setText(NoRecordsText(gViewMode));
    } else {
        const int cols = grdData->cols();
        const float step = 100.0f / static_cast<float>(n);
        float accumulated = 0.0f;
        gRowIDs = rows.ids;
        gRowIDs.push_back(0);
        int selectedRow = -1;
        QStringList cells;
        for (int r = 0; r < n; ++r) {
            cells.clear();
            for (int c = 0; c < cols; ++c)
                cells << rows.cells[static_cast<size_t>(r) * cols + c];
            grdData->addRow(cells);
            if (rows.ids[r] == gSelectID)
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
    ShowStatusMessage(this, gViewMode + QStringLiteral(" View - ") + QString::number(n) + QStringLiteral(" records found"), 0);
    grdData->fitColumnsToContents();
    grdData->setVisible(true);
}

void frmMain::ReselectRecord()
{
    grdData->setCol(0);
    // Entries beyond the listing may be left from an earlier, longer fill.
    const int listed = grdData->rows() - 1;
    for (int i = 0; i + 1 < gRowIDs.size() && i < listed; ++i) {
        if (gRowIDs.at(i) == gSelectID) {
            const int row = i + 1;
            grdData->setRow(row);
            grdData->setTopRow(row > mMaxTopRow ? mMaxTopRow : row);
            grdData_Click();
            return;
        }
    }
    grdData->setRow(1);
    grdData->setTopRow(1);
    grdData_Click();
}

void frmMain::LoadSelections()
{
    cboSQL->clear();
    gSelections = QStringList{QString()};
    const SelectionSection section = ReadSelectionSection(gViewMode);
    for (int i = 0; i < section.selections.size(); ++i) {
        cboSQL->addItem(section.selections[i].caption);
        gSelections.insert(i, section.selections[i].condition);
    }
    // Each section's problems are told once a run, not at every view switch.
    if (!section.warnings.isEmpty() && !mReportedSections.contains(gViewMode)) {
        mReportedSections.insert(gViewMode);
        services().prompts->message(this, section.warnings.join(QStringLiteral("\n\n")), Prompts::Buttons::Ok,
                                    Prompts::Icon::Warning);
    }
    cboSQL->setCurrentIndex(section.defaultIndex);
    // With no selection chosen the view lists all its records rather than nothing.
    cboSQL_Click();
}

QString frmMain::ResolveSelection(const QString& caption, const QString& condition)
{
    const int chosen = cboSQL->currentIndex();
    if (gDataChanged) {
        gDataChanged = false;
        // Reuse only what this same selection of this same view produced; any other asks
        // for its own values.
        if (chosen == mSelectionResolved && mWhereView == gViewMode && !mWhere.isEmpty())
            return mWhere;
    }
    const QString prompt = QStringLiteral("Enter a value for this Selection.\n\nWildcard characters (*/?) may be used.");
    return ResolvePlaceholders(condition, [&] { return services().prompts->input(this, prompt, caption); });
}

void frmMain::cboSQL_Click()
{
    FillGrid();
    grdData->setCol(0);
    grdData->setRow(1);
    grdData_Click();
    grdData->setFocus();
}

void frmMain::SwitchViewByButton(const QString& viewMode)
{
    BusyScope busy(this);
    gViewMode = viewMode;
    SetGridColumns();
    LoadSelections();
    grdData->setCol(0);
    grdData->setRow(1);
    grdData_Click();
    setWindowTitle(QStringLiteral("Quillary : ") + gViewMode + QStringLiteral(" View"));
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
    if (!gFindText.isEmpty())
        FindInGrid(QStringLiteral("F"), gFindText);
}

void frmMain::FindInGrid(const QString& mode, const QString& text)
{
    FindHit hit;
    {
        BusyScope busy(this);
        letPaint();
        hit = FindCell(*grdData->gridModel(), mode != QStringLiteral("N"), grdData->row(), grdData->col(), text,
                       FindOptions{gFindMatchCase, gFindWholeCell});
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
    services().prompts->message(this, QStringLiteral("Sorry - no match found on '") + text + QStringLiteral("'."),
                                Prompts::Buttons::Ok, Prompts::Icon::Information);
}
