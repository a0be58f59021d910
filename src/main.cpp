#include <QApplication>
#include <QTextStream>

#include "core/ExportCsvCommand.h"

#include "core/Clock.h"
#include "gui/MainWindow.h"
#include "gui/Prompts.h"

int main(int argc, char* argv[])
{
    if (isExportCsvCommand(argc, argv)) {
        // For scripts: no window, so no display needed.
        QCoreApplication app(argc, argv);
        SystemClock clock;
        QTextStream out(stdout), err(stderr);
        return exportCsvCommand(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), clock, out, err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillary"));
    MessageBoxPrompts prompts;
    SystemLinks links;
    SystemClock clock;
    MainWindow window(Desktop{prompts, links}, clock);
    if (!window.load())
        return 1;
    return QApplication::exec();
}
