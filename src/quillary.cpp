#include <QApplication>

#include "core/Clock.h"
#include "main/frmMain.h"
#include "platform/Services.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillary"));
    MessageBoxPrompts prompts;
    SystemLinks links;
    SystemClock clock;
    frmMain window(Desktop{prompts, links}, clock);
    if (!window.Load())
        return 1;
    return QApplication::exec();
}
