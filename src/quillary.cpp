#include <QApplication>

#include "main/frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillary"));
    frmMain window;
    if (!window.Load())
        return 1;
    return QApplication::exec();
}
