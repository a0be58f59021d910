// The main window's Statistics window, its listing export and the import.

#include <QToolButton>

#include "core/OutputGuard.h"
#include "gui/ImportWizard.h"
#include "gui/StatisticsWindow.h"
#include "gui/TableExport.h"
#include "gui/MainWindow.h"
#include "gui/GridView.h"

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
    // An empty listing shows a "nothing found" line, which is no record (Amend is off then).
    const bool empty = !amendButton->isEnabled();
    const TableText table = shownTable(*grid, [empty](int) { return empty; });
    const QString suggested = tr("%1s.csv").arg(viewName(mView).toLower());
    exportTableAsCsv(this, mDesktop.prompts, ownFilesOf(mSession), suggested, table);
}

void MainWindow::importFile()
{
    if (runImportWizard(this, mSession, mDesktop.prompts))
        onRefreshClicked();
}

void MainWindow::undoImport()
{
    if (runUndoLastImport(this, mSession, mDesktop.prompts))
        onRefreshClicked();
}
