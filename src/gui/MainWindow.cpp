#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <QFrame>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include "gui/StatusMessage.h"
#include "core/Database.h"
#include "core/BackupCommand.h"
#include "gui/AboutDialog.h"
#include "gui/BackupActions.h"
#include "gui/StatisticsWindow.h"
#include "gui/FindDialog.h"
#include "gui/GridView.h"
#include "gui/PictureButton.h"
#include "gui/Prompts.h"
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
    buildControls();
    buildMenus();
    // The size the window returns to from maximized (and keeps where nothing maximizes it).
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 4 / 5);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    // The button bar across the top, in groups, with the selection box at its right end.
    buttonBar = new QFrame(client);
    buttonBar->setObjectName(QStringLiteral("buttonBar"));
    buttonBar->setFrameShape(QFrame::StyledPanel);
    QHBoxLayout* bar = makeButtonBarLayout(buttonBar);

    struct ButtonDef {
        QToolButton** button;
        const char* name;
        const char* icon;
        const char* tip;
        bool startsGroup;
    };
    const ButtonDef defs[] = {
        {&exitButton, "exitButton", "exit", QT_TR_NOOP("Exit Quillary"), false},
        {&worksButton, "worksButton", "works", QT_TR_NOOP("View Works"), true},
        {&publishersButton, "publishersButton", "publishers", QT_TR_NOOP("View Publishers"), false},
        {&submissionsButton, "submissionsButton", "submissions", QT_TR_NOOP("View Submissions"), false},
        {&newButton, "newButton", "new", QT_TR_NOOP("Enter New "), true},
        {&amendButton, "amendButton", "amend", QT_TR_NOOP("Amend Current "), false},
        {&deleteButton, "deleteButton", "delete", QT_TR_NOOP("Delete Current "), false},
        {&findButton, "findButton", "find", QT_TR_NOOP("Find In Display"), true},
        {&refreshButton, "refreshButton", "refresh", QT_TR_NOOP("Refresh Display"), true},
        {&settingsButton, "settingsButton", "settings", QT_TR_NOOP("Edit Settings"), true},
        {&statisticsButton, "statisticsButton", "statistics", QT_TR_NOOP("Statistics"), true},
    };
    for (const ButtonDef& d : defs) {
        QToolButton* b = makePictureButton(buttonBar, QLatin1String(d.name), QLatin1String(d.icon), tr(d.tip));
        if (d.startsGroup)
            bar->addSpacing(buttonGroupGap(buttonBar));
        bar->addWidget(b);
        *d.button = b;
    }
    // These three name the current view; the names are set when the mouse comes over them.
    for (QToolButton* b : {newButton, amendButton, deleteButton})
        b->installEventFilter(this);

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
    gridFrame = new QFrame(client);
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
    messageTimer = createMessageTimer(this, statusPanel);

    // The rows that fit follow the grid's real size (maximising, restoring, dragging).
    connect(grid, &GridView::resized, this, [this] { mVisibleRows = grid->visibleRows(); });

    connect(exitButton, &QToolButton::clicked, this, whenIdle([this] { onExitClicked(); }));
    connect(worksButton, &QToolButton::clicked, this, whenIdle([this] { switchView(View::Work); }));
    connect(publishersButton, &QToolButton::clicked, this, whenIdle([this] { switchView(View::Publisher); }));
    connect(submissionsButton, &QToolButton::clicked, this, whenIdle([this] { switchView(View::Submission); }));
    connect(newButton, &QToolButton::clicked, this, whenIdle([this] { newRecord(); }));
    connect(amendButton, &QToolButton::clicked, this, whenIdle([this] { amendRecord(); }));
    connect(deleteButton, &QToolButton::clicked, this, whenIdle([this] { deleteRecord(); }));
    connect(findButton, &QToolButton::clicked, this, whenIdle([this] { onFindClicked(); }));
    connect(refreshButton, &QToolButton::clicked, this, whenIdle([this] { onRefreshClicked(); }));
    connect(settingsButton, &QToolButton::clicked, this, whenIdle([this] { onSettingsClicked(); }));
    connect(statisticsButton, &QToolButton::clicked, this, whenIdle([this] { showStatistics(); }));
    connect(statisticsButton, &QToolButton::clicked, this, whenIdle([this] { showStatistics(); }));
    connect(selectionCombo, qOverload<int>(&QComboBox::activated), this, whenIdle([this] { onSelectionChosen(); }));
    connect(grid, &GridView::cellClicked, this, whenIdle([this] { highlightCurrentRow(); }));
    connect(grid, &GridView::cellDoubleClicked, this, whenIdle([this] { onGridDoubleClicked(); }));
    connect(grid, &GridView::keyDown, this, &MainWindow::onGridKeyDown);
}

void MainWindow::buildMenus()
{
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key, int index,
                          void (MainWindow::*handler)(int)) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, whenIdle([this, handler, index] { (this->*handler)(index); }));
        return action;
    };
    auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };

    fileMenu = addMenu("fileMenu", tr("&File"));
    backupAction = addItem(fileMenu, "backupAction", tr("&Back Up Database ..."), QKeySequence(), 0,
                           &MainWindow::onFileMenuItem);
    exportAction = fileMenu->addAction(tr("&Export Listing..."));
    exportAction->setObjectName(QStringLiteral("exportAction"));
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exportAction, &QAction::triggered, this, whenIdle([this] { exportListing(); }));
    importAction = fileMenu->addAction(tr("&Import..."));
    importAction->setObjectName(QStringLiteral("importAction"));
    connect(importAction, &QAction::triggered, this, whenIdle([this] { importFile(); }));
    fileMenu->addSeparator();
    exitAction = addItem(fileMenu, "exitAction", tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X), 99,
                         &MainWindow::onFileMenuItem);

    viewMenu = addMenu("viewMenu", tr("&View"));
    viewActions[0] = addItem(viewMenu, "worksAction", tr("&Works"), QKeySequence(Qt::CTRL | Qt::Key_W), 0,
                             &MainWindow::onViewMenuItem);
    viewActions[1] = addItem(viewMenu, "publishersAction", tr("&Publishers"), QKeySequence(Qt::CTRL | Qt::Key_P), 1,
                             &MainWindow::onViewMenuItem);
    viewActions[2] = addItem(viewMenu, "submissionsAction", tr("&Submissions"), QKeySequence(Qt::CTRL | Qt::Key_S),
                             2, &MainWindow::onViewMenuItem);

    viewMenu->addSeparator();
    statisticsAction = viewMenu->addAction(tr("S&tatistics"));
    statisticsAction->setObjectName(QStringLiteral("statisticsAction"));
    statisticsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(statisticsAction, &QAction::triggered, this, whenIdle([this] { showStatistics(); }));

    editMenu = addMenu("editMenu", tr("&Edit"));
    editActions[0] = addItem(editMenu, "newAction", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), 0,
                             &MainWindow::onEditMenuItem);
    editActions[1] = addItem(editMenu, "amendAction", tr("&Amend"), QKeySequence(Qt::CTRL | Qt::Key_A), 1,
                             &MainWindow::onEditMenuItem);
    editActions[2] = addItem(editMenu, "deleteAction", tr("&Delete"), QKeySequence(Qt::CTRL | Qt::Key_D), 2,
                             &MainWindow::onEditMenuItem);
    editActions[3] = editMenu->addSeparator();
    editActions[4] = addItem(editMenu, "settingsAction", tr("Edit Se&ttings"), QKeySequence(Qt::CTRL | Qt::Key_T), 4,
                             &MainWindow::onEditMenuItem);
    editMenu->addSeparator();
    undoImportAction = editMenu->addAction(tr("&Undo Last Import"));
    undoImportAction->setObjectName(QStringLiteral("undoImportAction"));
    connect(undoImportAction, &QAction::triggered, this, whenIdle([this] { undoImport(); }));

    findMenu = addMenu("findMenu", tr("&Find"));
    findActions[0] = addItem(findMenu, "findAction", tr("&Find ..."), QKeySequence(Qt::CTRL | Qt::Key_F), 0,
                             &MainWindow::onFindMenuItem);
    findActions[1] = addItem(findMenu, "findNextAction", tr("&Find Next"), QKeySequence(Qt::Key_F3), 1,
                             &MainWindow::onFindMenuItem);

    helpMenu = addMenu("helpMenu", tr("&Help"));
    aboutAction = helpMenu->addAction(tr("&About"));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    connect(aboutAction, &QAction::triggered, this, whenIdle([this] { onAboutTriggered(); }));
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
    if (!db::finishOpening(*mSession.database(), mSession.databasePath(), &error)) {
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
    mView = mSession.settings().startView();
    setCaptionForView();
    setGridColumns();
    loadSelections();
    grid->setCol(0);
    grid->setRow(1);
    highlightCurrentRow();
    if (!backup.status.isEmpty())
        ShowStatusMessage(this, backup.status, 0);
    return true;
}

bool MainWindow::openDatabase()
{
    const QString path = mSession.databasePath();
    QString error;
    std::unique_ptr<SQLite::Database> database;
    if (!QFileInfo::exists(path)) {
        const auto answer = mDesktop.prompts.message(nullptr,
            QStringLiteral("The database file %1 does not exist. Create a new database there?").arg(path),
            Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::Yes);
        if (answer != Prompts::Answer::Yes)
            return false;
        database = db::createNew(path, &error);
    } else {
        // Upgraded after the start-up copy (initialise()).
        database = db::openChecked(path, &error);
    }
    if (!database) {
        mDesktop.prompts.message(nullptr, error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    mSession.setDatabase(std::move(database));
    return true;
}

void MainWindow::setCaptionForView()
{
    setWindowTitle(tr("Quillary : ") + viewName(mView) + QStringLiteral(" View"));
}

void MainWindow::closeDatabase()
{
    mSession.closeDatabase();
}

void MainWindow::onExitClicked()
{
    closeDatabase();
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
    closeDatabase();
    // The Find dialog, kept hidden between uses, goes with the main window.
    if (mFind)
        mFind->close();
    if (mStatistics)
        mStatistics->close();
    if (mStatistics)
        mStatistics->close();
    event->accept();
}

void MainWindow::onFileMenuItem(int index)
{
    if (index == 0)
        backUpDatabaseInteractively(this, mSession, mDesktop.prompts);
    else if (index == 99)
        onExitClicked();
}

void MainWindow::onViewMenuItem(int index)
{
    static const View views[] = {View::Work, View::Publisher, View::Submission};
    if (index < 0 || index > 2)
        return;
    mView = views[index];
    for (int i = 0; i < 3; ++i)
        viewActions[i]->setEnabled(i != index);
    BusyScope busy(this);
    setGridColumns();
    loadSelections();
    setCaptionForView();
}

void MainWindow::onEditMenuItem(int index)
{
    switch (index) {
    case 0: newRecord(); break;
    case 1: if (amendButton->isEnabled()) amendRecord(); break;
    case 2: if (deleteButton->isEnabled()) deleteRecord(); break;
    case 4: onSettingsClicked(); break;
    default: break;
    }
}

void MainWindow::onFindMenuItem(int index)
{
    if (index == 0)
        onFindClicked();
    else if (index == 1)
        findInGrid(FindMode::Next, mFind ? mFind->findText() : QString());
}

void MainWindow::onAboutTriggered()
{
    AboutDialog about(mDesktop.links, this, mSession.settings().file(), mSession.databasePath());
    about.exec();
}

void MainWindow::highlightCurrentRow()
{
    // Highlight the whole current row.
    const int row = grid->row();
    grid->setSelectionRange(row, 0, row, grid->cols() - 1);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::ToolTip) {
        if (watched == newButton)
            setButtonToolTip(newButton, QStringLiteral("Enter New ") + viewName(mView));
        else if (watched == amendButton)
            setButtonToolTip(amendButton, QStringLiteral("Amend Current ") + viewName(mView));
        else if (watched == deleteButton)
            setButtonToolTip(deleteButton, QStringLiteral("Delete Current ") + viewName(mView));
    }
    return QMainWindow::eventFilter(watched, event);
}
