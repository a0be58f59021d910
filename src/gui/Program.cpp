#include "gui/Program.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>

#include "core/BackupCommand.h"
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/ExportCsvCommand.h"
#include "core/FileLocations.h"
#include "core/ImportCsvCommand.h"
#include "core/Session.h"
#include "gui/SingleInstance.h"
#include "gui/MainWindow.h"
#include "gui/PictureButton.h"
#include "gui/Prompts.h"

namespace {

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

FileLocations locationsFor(const CommandLine& command)
{
    return resolveFileLocations(standardLocationInputs(QCoreApplication::applicationDirPath(),
                                                       command.settingsFile, command.database));
}

// --backup, --export-csv and --import-csv: no window, so no display is needed.
int runCommand(int argc, char* argv[], const CommandLine& command)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const FileLocations locations = locationsFor(command);
    QString error;
    if (!provideSettingsFile(locations, &error)) {
        err << "quillary: " << error << '\n';
        return exitcode::kFailed;
    }
    SystemClock clock;
    Session session(locations, clock);
    if (command.action == CommandLine::Action::ExportCsv)
        return runExportCsvCommand(session, command, out, err);
    if (command.action == CommandLine::Action::ImportCsv)
        return runImportCsvCommand(session, command, out, err);
    return runBackupCommand(session, command.backupTarget, out, err);
}

// Brings the window, or the dialog open over it, to the front. Window systems that do
// not let a program take the focus flash its entry in the task bar instead.
void bringToFront(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

int runWindow(int argc, char* argv[], const CommandLine& command, const QElapsedTimer& started)
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QApplication::setWindowIcon(programIcon());
    MessageBoxPrompts messageBoxes;
    Prompts& prompts = messageBoxes;
    SystemLinks links;
    SystemClock clock;

    const FileLocations locations = locationsFor(command);
    QString error;
    if (!provideSettingsFile(locations, &error))
        prompts.message(nullptr, error, Prompts::Buttons::Ok, Prompts::Icon::Warning);

    MainWindow window(Desktop{prompts, links}, clock, locations);
    const QString database = window.session().databasePath();
    SingleInstance instance(database);
    switch (instance.claim()) {
    case SingleInstance::Claim::Handed:
        return exitcode::kOk;
    case SingleInstance::Claim::AlreadyRunning:
        prompts.message(nullptr, alreadyOpenMessage(database), Prompts::Buttons::Ok, Prompts::Icon::Information);
        return exitcode::kOk;
    case SingleInstance::Claim::First:
    case SingleInstance::Claim::Unguarded:
        break;
    }
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] { bringToFront(window); });
    if (!window.load())
        return exitcode::kFailed;
    if (command.exitAfterFirstFill) {
        QCoreApplication::processEvents();  // the first frame, grid filled, is painted
        QTextStream(stdout) << "first filled grid shown after " << started.elapsed() << " ms\n";
        return exitcode::kOk;
    }
    return QApplication::exec();
}

} // namespace

int runQuillary(int argc, char* argv[])
{
    QElapsedTimer started;
    started.start();
    // Set before anything asks for the standard folders, which are named after it.
    QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
    QCoreApplication::setApplicationVersion(versionLine().section(QLatin1Char(' '), 1));

    const CommandLine command = parseCommandLine(argumentList(argc, argv), QDir::currentPath());
    switch (command.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        QTextStream(stdout) << command.text;
        return exitcode::kOk;
    case CommandLine::Action::Fail:
        QTextStream(stderr) << "quillary: " << command.text << '\n';
        return exitcode::kUsage;
    case CommandLine::Action::Backup:
    case CommandLine::Action::ExportCsv:
    case CommandLine::Action::ImportCsv:
        return runCommand(argc, argv, command);
    case CommandLine::Action::RunWindow:
        break;
    }
    return runWindow(argc, argv, command, started);
}
