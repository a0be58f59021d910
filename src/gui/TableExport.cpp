#include "gui/TableExport.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>

#include "core/Csv.h"
#include "core/OutputGuard.h"
#include "gui/Prompts.h"

TableText shownTable(const QTableView& view, const std::function<bool(int row)>& skipRow)
{
    TableText table;
    const QAbstractItemModel* model = view.model();
    if (!model)
        return table;
    const QHeaderView* columns = view.horizontalHeader();
    const QHeaderView* rows = view.verticalHeader();
    QList<int> shownColumns;
    for (int visual = 0; visual < columns->count(); ++visual) {
        const int logical = columns->logicalIndex(visual);
        if (!view.isColumnHidden(logical))
            shownColumns << logical;
    }
    for (const int c : shownColumns)
        table.header << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    for (int visual = 0; visual < rows->count(); ++visual) {
        const int r = rows->logicalIndex(visual);
        if (view.isRowHidden(r) || (skipRow && skipRow(r)))
            continue;
        QStringList cells;
        for (const int c : shownColumns)
            cells << model->data(model->index(r, c), Qt::DisplayRole).toString();
        table.rows << cells;
    }
    return table;
}

QString checkedSaveName(QWidget* parent, Prompts& prompts, const OwnFiles& own, const QString& path)
{
    if (path.isEmpty())
        return path;
    const QString refused = refuseOutput(path, own);
    if (refused.isEmpty())
        return path;
    prompts.message(parent, refused, Prompts::Buttons::Ok, Prompts::Icon::Critical);
    return QString();
}

bool exportTableAsCsv(QWidget* parent, Prompts& prompts, const OwnFiles& own, const QString& suggested,
                      const TableText& table)
{
    QString path = prompts.saveFileName(parent, QCoreApplication::translate("TableExport", "Export as CSV"), suggested,
                                        QCoreApplication::translate("TableExport", "CSV files (*.csv)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    path = checkedSaveName(parent, prompts, own, path);
    if (path.isEmpty())
        return false;
    QString error;
    if (!writeCsvFile(path, table.header, table.rows, &error)) {
        prompts.message(parent,
                        QCoreApplication::translate("TableExport", "The listing could not be written to %1:\n\n%2")
                            .arg(path, error),
                        Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    return true;
}
