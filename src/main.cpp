#include <QCoreApplication>
#include <QTextStream>

#include "core/ExportCsvCommand.h"

#include "core/Clock.h"
#include "gui/Program.h"

int main(int argc, char* argv[])
{
    if (isExportCsvCommand(argc, argv)) {
        // For scripts: no window, so no display needed.
        QCoreApplication app(argc, argv);
        SystemClock clock;
        QTextStream out(stdout), err(stderr);
        return exportCsvCommand(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), clock, out, err);
    }
    return runQuillary(argc, argv);
}
