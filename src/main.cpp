#include <QApplication>

#include "core/Clock.h"
#include "gui/MainWindow.h"
#include "gui/Prompts.h"

int main(int argc, char* argv[])
{
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
