#pragma once
// Writing what a table shows to a CSV file the user names: the columns in their shown
// order, the rows in their shown (sorted) order, the texts as displayed.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Prompts;
class QTableView;
struct OwnFiles;
class QWidget;

struct TableText {
    QStringList header;
    QList<QStringList> rows;
};

// The header and cells of a table as shown. skipRow lets a caller leave out rows that are
// not records (a grid's "nothing found" line).
TableText shownTable(const QTableView& view, const std::function<bool(int row)>& skipRow = {});

// Asks for a file name (suggested: the name offered) and writes the table there. False when
// cancelled, when the name is one of own (refused, nothing written) or when the file could
// not be written (the user has been told why).
bool exportTableAsCsv(QWidget* parent, Prompts& prompts, const OwnFiles& own, const QString& suggested,
                      const TableText& table);

// The name chosen in a save box, checked against the program's own files: empty when none
// was chosen, or when it was refused and the user told why (a critical message).
QString checkedSaveName(QWidget* parent, Prompts& prompts, const OwnFiles& own, const QString& path);
