#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "core/BackupCommand.h"
#include "core/Cancellation.h"
#include "gui/AboutDialog.h"
#include "gui/BackupActions.h"
#include "gui/FindDialog.h"
#include "gui/GridView.h"
#include "gui/PictureButton.h"
#include "gui/StatisticsWindow.h"
#include "gui/StatusMessage.h"
#include "gui/StatusPanel.h"

namespace {
// The fewest grid rows a normal (not maximised) window shows; with the button bar and the
// status panel this keeps the window about 6 by 4 inches at the usual font.
constexpr int kMinVisibleRows = 14;
}

MainWindow::MainWindow(Desktop desktop, Clock& clock, const QString& appDir, QWidget* parent)
    : MainWindow(desktop, clock,
                 FileLocations::inFolder(appDir.isEmpty() ? QCoreApplication::applicationDirPath() : appDir), parent)
{
}

MainWindow::MainWindow(Desktop desktop, Clock& clock, const FileLocations& locations, QWidget* parent)
    : QMainWindow(parent), mDesktop(desktop), mSession(locations, clock)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(programIcon());
    setWindowTitle(kProgramTitle);
    createActions();
    buildControls();
    buildMenus();
    updateCommands();
    // The size the window returns to from maximized (and keeps where nothing maximizes it).
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 4 / 5);
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions()
{
    initQuillaryResources();
    // A command the user starts does nothing while the window is busy.
    auto make = [this](QAction** action, const char* name, const QString& text, const QKeySequence& key,
                       const char* icon, const QString& tip, auto handler) {
        *action = new QAction(text, this);
        (*action)->setObjectName(QLatin1String(name));
        (*action)->setShortcut(key);
        (*action)->setShortcutContext(Qt::WindowShortcut);
        if (icon)
            (*action)->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))));
        (*action)->setToolTip(tip);
        connect(*action, &QAction::triggered, this, [this, handler] {
            if (!isBusy())
                handler();
        });
    };
    using K = QKeySequence;
    make(&worksAction, "worksAction", tr("&Works"), K(Qt::CTRL | Qt::Key_W), "works", tr("View Works"),
         [this] { switchView(View::Work); });
    make(&publishersAction, "publishersAction", tr("&Publishers"), K(Qt::CTRL | Qt::Key_P), "publishers",
         tr("View Publishers"), [this] { switchView(View::Publisher); });
    make(&submissionsAction, "submissionsAction", tr("&Submissions"), K(Qt::CTRL | Qt::Key_S), "submissions",
         tr("View Submissions"), [this] { switchView(View::Submission); });
    make(&newAction, "newAction", tr("&New"), K(Qt::CTRL | Qt::Key_N), "new", QString(), [this] { newRecord(); });
    make(&amendAction, "amendAction", tr("&Amend"), K(Qt::CTRL | Qt::Key_A), "amend", QString(),
         [this] { amendRecord(); });
    make(&deleteAction, "deleteAction", tr("&Delete"), K(Qt::CTRL | Qt::Key_D), "delete", QString(),
         [this] { deleteRecord(); });
    make(&findAction, "findAction", tr("&Find ..."), K(Qt::CTRL | Qt::Key_F), "find", tr("Find In Display"),
         [this] { showFindDialog(); });
    make(&findNextAction, "findNextAction", tr("&Find Next"), K(Qt::Key_F3), nullptr, QString(),
         [this] { findInGrid(FindMode::Next, mFind ? mFind->findText() : QString()); });
    make(&refreshAction, "refreshAction", tr("&Refresh"), K(), "refresh", tr("Refresh Display"), [this] { refresh(); });
    make(&settingsAction, "settingsAction", tr("Edit Se&ttings"), K(Qt::CTRL | Qt::Key_T), "settings",
         tr("Edit Settings"), [this] { showSettings(); });
    make(&statisticsAction, "statisticsAction", tr("S&tatistics"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "statistics",
         tr("Statistics"), [this] { showStatistics(); });
    make(&exportAction, "exportAction", tr("&Export Listing..."), K(Qt::CTRL | Qt::Key_E), nullptr, QString(),
         [this] { exportListing(); });
    make(&backupAction, "backupAction", tr("&Back Up Database ..."), K(), nullptr, QString(),
         [this] { backUpDatabase(); });
    make(&importAction, "importAction", tr("&Import..."), K(), nullptr, QString(), [this] { importFile(); });
    make(&undoImportAction, "undoImportAction", tr("&Undo Last Import"), K(), nullptr, QString(),
         [this] { undoImport(); });
    make(&aboutAction, "aboutAction", tr("&About"), K(), nullptr, QString(), [this] { showAbout(); });
    make(&exitAction, "exitAction", tr("E&xit"), K(Qt::CTRL | Qt::Key_X), "exit", tr("Exit Quillary"),
         [this] { exitProgram(); });
}

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    // The button bar across the top, in groups, with the selection box at its right end.
    auto* buttonBar = new QFrame(client);
    buttonBar->setObjectName(QStringLiteral("buttonBar"));
    buttonBar->setFrameShape(QFrame::StyledPanel);
    QHBoxLayout* bar = makeButtonBarLayout(buttonBar);
    struct ButtonDef {
        QAction* action;
        const char* name;
        const char* icon;
        bool startsGroup;
    };
    const ButtonDef defs[] = {
        {exitAction, "exitButton", "exit", false},
        {worksAction, "worksButton", "works", true},
        {publishersAction, "publishersButton", "publishers", false},
        {submissionsAction, "submissionsButton", "submissions", false},
        {newAction, "newButton", "new", true},
        {amendAction, "amendButton", "amend", false},
        {deleteAction, "deleteButton", "delete", false},
        {findAction, "findButton", "find", true},
        {refreshAction, "refreshButton", "refresh", true},
        {settingsAction, "settingsButton", "settings", true},
        {statisticsAction, "statisticsButton", "statistics", true},
    };
    for (const ButtonDef& d : defs) {
        QToolButton* button = makePictureButton(buttonBar, QLatin1String(d.name), QLatin1String(d.icon),
                                                 d.action->toolTip());
        button->setDefaultAction(d.action);
        // The tooltip is a picture button's only text, so it is its name too.
        button->setAccessibleName(d.action->toolTip());
        connect(d.action, &QAction::changed, button, [button, action = d.action] {
            button->setAccessibleName(action->toolTip());
        });
        if (d.startsGroup)
            bar->addSpacing(buttonGroupGap(buttonBar));
        bar->addWidget(button);
    }

    selectionCombo = new QComboBox(buttonBar);
    selectionCombo->setObjectName(QStringLiteral("selectionCombo"));
    selectionCombo->setAccessibleName(QStringLiteral("Selection"));
    // Wide enough for a usual caption when empty, wider for a long one.
    selectionCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    selectionCombo->setMinimumContentsLength(24);
    bar->addStretch(1);
    bar->addSpacing(buttonGroupGap(buttonBar));
    bar->addWidget(selectionCombo);
    column->addWidget(buttonBar);

    // The grid fills the rest; it always shows a useful number of rows.
    auto* gridFrame = new QFrame(client);
    gridFrame->setObjectName(QStringLiteral("gridFrame"));
    gridFrame->setFrameShape(QFrame::StyledPanel);
    auto* gridBox = new QVBoxLayout(gridFrame);
    const int inset = gridFrame->frameWidth() + 1;
    gridBox->setContentsMargins(inset, inset, inset, inset);
    grid = new GridView(gridFrame);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setMinimumHeight(grid->headerRowHeight() * (kMinVisibleRows + 1) + 2 * grid->frameWidth()
                           + grid->horizontalScrollBar()->sizeHint().height());
    gridBox->addWidget(grid);
    column->addWidget(gridFrame, 1);

    statusPanel = new StatusPanel(client);
    column->addWidget(statusPanel);
    createMessageTimer(this, statusPanel);
    connect(statusPanel, &StatusPanel::cancelClicked, this, [this] {
        if (mStoppable)
            mStoppable->cancel();
    });

    connect(selectionCombo, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (!isBusy())
            onSelectionActivated(index);
    });
    // Clicks and keys that arrive while the listing is rebuilt must not act on it.
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    connect(grid, &QAbstractItemView::doubleClicked, this, [this] { amendAction->trigger(); });
    connect(grid, &GridView::enterPressed, this, &MainWindow::onGridEnterPressed);
    connect(grid, &GridView::insertPressed, newAction, &QAction::trigger);
    connect(grid, &GridView::deletePressed, deleteAction, &QAction::trigger);
}

void MainWindow::buildMenus()
{
    auto addMenu = [this](const char* name, const QString& caption, const QList<QAction*>& actions) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        for (QAction* action : actions) {
            if (action)
                menu->addAction(action);
            else
                menu->addSeparator();
        }
    };
    addMenu("fileMenu", tr("&File"), {backupAction, exportAction, importAction, nullptr, exitAction});
    addMenu("viewMenu", tr("&View"), {worksAction, publishersAction, submissionsAction, nullptr, statisticsAction});
    addMenu("editMenu", tr("&Edit"), {newAction, amendAction, deleteAction, nullptr, settingsAction, nullptr, undoImportAction});
    addMenu("findMenu", tr("&Find"), {findAction, findNextAction});
    addMenu("helpMenu", tr("&Help"), {aboutAction});
}

MainWindow::BusyScope::BusyScope(MainWindow* window) : mWindow(window)
{
    if (mWindow->mBusy++ == 0 && !QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

MainWindow::BusyScope::~BusyScope()
{
    if (--mWindow->mBusy > 0)
        return;
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (mWindow->mCloseRequested) {
        mWindow->mCloseRequested = false;
        QTimer::singleShot(0, mWindow, &QWidget::close);
    }
}

void MainWindow::letPaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

namespace {

// While work can be stopped, Esc stops it and the Cancel button takes its click; no other
// key or click reaches any window.
class StopKeys : public QObject {
public:
    StopKeys(Cancellation& cancellation, QObject* cancelButton)
        : mCancellation(cancellation), mCancelButton(cancelButton)
    {
        qApp->installEventFilter(this);
    }
    ~StopKeys() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            event->accept();  // no shortcut fires meanwhile
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                mCancellation.cancel();
            return true;
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return watched != mCancelButton;
        default:
            return false;
        }
    }

private:
    Cancellation& mCancellation;
    QObject* mCancelButton;
};

// How long work runs before the window offers to stop it.
constexpr qint64 kMomentMs = 400;

} // namespace

bool MainWindow::pollStop(Cancellation& cancellation)
{
    if (cancellation.elapsedMs() < kMomentMs)
        return false;
    if (!mStoppable) {
        mStoppable = &cancellation;
        statusPanel->setCancelVisible(true);
        // A slow first fill must not keep the window from showing.
        setUpdatesEnabled(true);
    }
    StopKeys keys(cancellation, statusPanel->findChild<QObject*>(QStringLiteral("cancelButton")));
    QCoreApplication::processEvents();
    return cancellation.cancelled();
}

void MainWindow::endStoppable()
{
    mStoppable = nullptr;
    statusPanel->setCancelVisible(false);
}

int MainWindow::visibleRows() const
{
    return grid->visibleRows();
}

bool MainWindow::load()
{
    bool ok = false;
    {
        BusyScope busy(this);
        setWindowState(Qt::WindowMaximized);
        // Shown and sized (the columns fit the real grid) but not painted until the grid
        // is filled: nothing half-built appears.
        setUpdatesEnabled(false);
        show();
        letPaint();
        ok = initialise();
        setUpdatesEnabled(true);
    }
    if (!ok) {
        hide();
        return false;
    }
    // A start-up message box may have taken the focus; the keyboard belongs here now.
    activateWindow();
    grid->setFocus();
    return true;
}

bool MainWindow::initialise()
{
    if (!openDatabase())
        return false;
    // Before anything is written, the schema upgrade included; a failure is told, never a
    // reason to stop. Damage is told in a message box: the user must know before working on.
    const StartBackupReport backup = makeStartBackup(mSession);
    if (!backup.damage.isEmpty())
        mDesktop.prompts.message(this, backup.damage, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    QString error;
    if (!mSession.finishOpening(&error)) {
        mSession.closeDatabase();
        mDesktop.prompts.message(nullptr, error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    const QStringList warnings = mSession.settings().load();
    if (!warnings.isEmpty()) {
        mDesktop.prompts.message(this,
            QStringLiteral("Some settings in %1 could not be used:\n\n%2")
                .arg(mSession.settings().file(), warnings.join(QStringLiteral("\n\n"))),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
    switchView(mSession.settings().startView());
    if (!backup.status.isEmpty())
        showStatusMessage(this, backup.status, 0);
    return true;
}

bool MainWindow::openDatabase()
{
    const QString path = mSession.databasePath();
    const bool create = !QFileInfo::exists(path);
    if (create) {
        const auto answer = mDesktop.prompts.message(nullptr,
            QStringLiteral("The database file %1 does not exist. Create a new database there?").arg(path),
            Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::Yes);
        if (answer != Prompts::Answer::Yes)
            return false;
    }
    QString error;
    if (!mSession.openDatabase(create, &error)) {
        mDesktop.prompts.message(nullptr, error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    return true;
}

void MainWindow::setCaptionForView()
{
    setWindowTitle(tr("Quillary : ") + viewName(view()) + QStringLiteral(" View"));
}

void MainWindow::updateCommands()
{
    // Amend and Delete act on a record: there is none in an empty listing.
    amendAction->setEnabled(mListing.hasRecords());
    deleteAction->setEnabled(mListing.hasRecords());
    // The record commands name the view they act in.
    const QString name = viewName(view());
    newAction->setToolTip(QStringLiteral("Enter New ") + name);
    amendAction->setToolTip(QStringLiteral("Amend Current ") + name);
    deleteAction->setToolTip(QStringLiteral("Delete Current ") + name);
}

void MainWindow::exitProgram()
{
    mSession.closeDatabase();
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing in the middle of a fill or a start-up would pull the database from under it.
    if (isBusy()) {
        mCloseRequested = true;
        event->ignore();
        return;
    }
    mSession.closeDatabase();
    // The Find dialog, kept hidden between uses, goes with the main window.
    if (mFind)
        mFind->close();
    if (mStatistics)
        mStatistics->close();
    event->accept();
}

void MainWindow::backUpDatabase()
{
    backUpDatabaseInteractively(this, mSession, mDesktop.prompts);
}

void MainWindow::showAbout()
{
    AboutDialog about(mDesktop.links, this, mSession.settings().file(), mSession.databasePath());
    about.exec();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == grid || watched == grid->viewport()) && isBusy()) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
