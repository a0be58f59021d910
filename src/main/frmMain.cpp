#include "main/frmMain.h"

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

#include "app/modQuillary.h"
#include "data/Database.h"
#include "main/frmAbout.h"
#include "main/frmFind.h"
#include "platform/Grid.h"
#include "platform/PictureButton.h"
#include "platform/Services.h"
#include "platform/StatusPanel.h"

namespace {
// The fewest grid rows a normal (not maximised) window shows; with the button bar and the
// status panel this keeps the window about 6 by 4 inches at the usual font.
constexpr int kMinVisibleRows = 14;
}

frmMain::frmMain(Desktop desktop, Clock& clock, const QString& appDir, QWidget* parent)
    : QMainWindow(parent),
      mDesktop(desktop),
      mSession(appDir.isEmpty() ? QCoreApplication::applicationDirPath() : appDir, clock)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(programIcon());
    setWindowTitle(kProgramTitle);
    buildControls();
    buildMenus();
    // The size the window returns to from maximized (and keeps where nothing maximizes it).
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 4 / 5);
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    // The button bar across the top, in groups, with the selection box at its right end.
    fraButtons = new QFrame(client);
    fraButtons->setObjectName(QStringLiteral("fraButtons"));
    fraButtons->setFrameShape(QFrame::StyledPanel);
    QHBoxLayout* bar = makeButtonBarLayout(fraButtons);

    struct ButtonDef {
        QToolButton** button;
        const char* name;
        const char* icon;
        const char* tip;
        bool startsGroup;
    };
    const ButtonDef defs[] = {
        {&cmdExit, "cmdExit", "exit", "Exit Quillary", false},
        {&cmdWork, "cmdWork", "works", "View Works", true},
        {&cmdPublisher, "cmdPublisher", "publishers", "View Publishers", false},
        {&cmdSubmission, "cmdSubmission", "submissions", "View Submissions", false},
        {&cmdNew, "cmdNew", "new", "Enter New ", true},
        {&cmdAmend, "cmdAmend", "amend", "Amend Current ", false},
        {&cmdDelete, "cmdDelete", "delete", "Delete Current ", false},
        {&cmdFind, "cmdFind", "find", "Find In Display", true},
        {&cmdRefresh, "cmdRefresh", "refresh", "Refresh Display", true},
        {&cmdSettings, "cmdSettings", "settings", "Edit Settings", true},
    };
    for (const ButtonDef& d : defs) {
        QToolButton* b = makePictureButton(fraButtons, QLatin1String(d.name), QLatin1String(d.icon), QLatin1String(d.tip));
        if (d.startsGroup)
            bar->addSpacing(buttonGroupGap(fraButtons));
        bar->addWidget(b);
        *d.button = b;
    }
    // These three name the current view; the names are set when the mouse comes over them.
    for (QToolButton* b : {cmdNew, cmdAmend, cmdDelete})
        b->installEventFilter(this);

    cboSQL = new QComboBox(fraButtons);
    cboSQL->setObjectName(QStringLiteral("cboSQL"));
    cboSQL->setAccessibleName(QStringLiteral("Selection"));
    // Wide enough for a usual caption when empty, wider for a long one.
    cboSQL->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboSQL->setMinimumContentsLength(24);
    bar->addStretch(1);
    bar->addSpacing(buttonGroupGap(fraButtons));
    bar->addWidget(cboSQL);
    column->addWidget(fraButtons);

    // The grid fills the rest; it always shows a useful number of rows.
    fraMain = new QFrame(client);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    fraMain->setFrameShape(QFrame::StyledPanel);
    auto* gridBox = new QVBoxLayout(fraMain);
    const int inset = fraMain->frameWidth() + 1;
    gridBox->setContentsMargins(inset, inset, inset, inset);
    grdData = new Grid(fraMain);
    grdData->setObjectName(QStringLiteral("grdData"));
    grdData->setMinimumHeight(grdData->headerRowHeight() * (kMinVisibleRows + 1) + 2 * grdData->frameWidth()
                              + grdData->horizontalScrollBar()->sizeHint().height());
    gridBox->addWidget(grdData);
    column->addWidget(fraMain, 1);

    pnlStatus = new StatusPanel(client);
    column->addWidget(pnlStatus);
    tmrMessage = createMessageTimer(this, pnlStatus);

    // The rows that fit follow the grid's real size (maximising, restoring, dragging).
    connect(grdData, &Grid::resized, this, [this] { mVisibleRows = grdData->visibleRows(); });

    connect(cmdExit, &QToolButton::clicked, this, whenIdle([this] { cmdExit_Click(); }));
    connect(cmdWork, &QToolButton::clicked, this, whenIdle([this] { SwitchViewByButton(View::Work); }));
    connect(cmdPublisher, &QToolButton::clicked, this, whenIdle([this] { SwitchViewByButton(View::Publisher); }));
    connect(cmdSubmission, &QToolButton::clicked, this, whenIdle([this] { SwitchViewByButton(View::Submission); }));
    connect(cmdNew, &QToolButton::clicked, this, whenIdle([this] { NewRecord(); }));
    connect(cmdAmend, &QToolButton::clicked, this, whenIdle([this] { AmendRecord(); }));
    connect(cmdDelete, &QToolButton::clicked, this, whenIdle([this] { DeleteRecord(); }));
    connect(cmdFind, &QToolButton::clicked, this, whenIdle([this] { cmdFind_Click(); }));
    connect(cmdRefresh, &QToolButton::clicked, this, whenIdle([this] { cmdRefresh_Click(); }));
    connect(cmdSettings, &QToolButton::clicked, this, whenIdle([this] { cmdSettings_Click(); }));
    connect(cboSQL, qOverload<int>(&QComboBox::activated), this, whenIdle([this] { cboSQL_Click(); }));
    connect(grdData, &Grid::cellClicked, this, whenIdle([this] { grdData_Click(); }));
    connect(grdData, &Grid::cellDoubleClicked, this, whenIdle([this] { grdData_DblClick(); }));
    connect(grdData, &Grid::keyDown, this, &frmMain::grdData_KeyDown);
}

void frmMain::buildMenus()
{
    auto addItem = [this](QMenu* menu, const QString& caption, const QKeySequence& key, int index,
                          void (frmMain::*handler)(int)) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, whenIdle([this, handler, index] { (this->*handler)(index); }));
        return action;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileExit = addItem(mnuFile, QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X), 99, &frmMain::mnuFileItem_Click);

    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuViewItem[0] = addItem(mnuView, QStringLiteral("&Works"), QKeySequence(Qt::CTRL | Qt::Key_W), 0, &frmMain::mnuViewItem_Click);
    mnuViewItem[1] = addItem(mnuView, QStringLiteral("&Publishers"), QKeySequence(Qt::CTRL | Qt::Key_P), 1, &frmMain::mnuViewItem_Click);
    mnuViewItem[2] = addItem(mnuView, QStringLiteral("&Submissions"), QKeySequence(Qt::CTRL | Qt::Key_S), 2, &frmMain::mnuViewItem_Click);

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditItem[0] = addItem(mnuEdit, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), 0, &frmMain::mnuEditItem_Click);
    mnuEditItem[1] = addItem(mnuEdit, QStringLiteral("&Amend"), QKeySequence(Qt::CTRL | Qt::Key_A), 1, &frmMain::mnuEditItem_Click);
    mnuEditItem[2] = addItem(mnuEdit, QStringLiteral("&Delete"), QKeySequence(Qt::CTRL | Qt::Key_D), 2, &frmMain::mnuEditItem_Click);
    mnuEditItem[3] = mnuEdit->addSeparator();
    mnuEditItem[4] = addItem(mnuEdit, QStringLiteral("Edit Se&ttings"), QKeySequence(Qt::CTRL | Qt::Key_T), 4, &frmMain::mnuEditItem_Click);

    mnuFind = menuBar()->addMenu(QStringLiteral("&Find"));
    mnuFind->setObjectName(QStringLiteral("mnuFind"));
    mnuFindItem[0] = addItem(mnuFind, QStringLiteral("&Find ..."), QKeySequence(Qt::CTRL | Qt::Key_F), 0, &frmMain::mnuFindItem_Click);
    mnuFindItem[1] = addItem(mnuFind, QStringLiteral("&Find Next"), QKeySequence(Qt::Key_F3), 1, &frmMain::mnuFindItem_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("&About"));
    connect(mnuAbout, &QAction::triggered, this, whenIdle([this] { mnuAbout_Click(); }));
}

frmMain::BusyScope::BusyScope(frmMain* window) : mWindow(window)
{
    if (mWindow->mBusy++ == 0 && !QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

frmMain::BusyScope::~BusyScope()
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

void frmMain::letPaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool frmMain::Load()
{
    bool ok = false;
    {
        BusyScope busy(this);
        setWindowState(Qt::WindowMaximized);
        show();
        // Let the window paint before the slow work.
        letPaint();
        ok = Initialise();
    }
    if (!ok) {
        hide();
        return false;
    }
    // A start-up message box may have taken the focus; the keyboard belongs here now.
    activateWindow();
    grdData->setFocus();
    return true;
}

bool frmMain::Initialise()
{
    if (!OpenDatabase())
        return false;
    const QStringList warnings = mSession.settings().load();
    if (!warnings.isEmpty()) {
        mDesktop.prompts.message(this,
            QStringLiteral("Some settings in %1 could not be used:\n\n%2")
                .arg(mSession.settings().file(), warnings.join(QStringLiteral("\n\n"))),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
    mView = mSession.settings().startView();
    setCaptionForView();
    SetGridColumns();
    LoadSelections();
    grdData->setCol(0);
    grdData->setRow(1);
    grdData_Click();
    return true;
}

bool frmMain::OpenDatabase()
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
        database = db::openExisting(path, &error);
    }
    if (!database) {
        mDesktop.prompts.message(nullptr, error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    mSession.setDatabase(std::move(database));
    return true;
}

void frmMain::setCaptionForView()
{
    setWindowTitle(QStringLiteral("Quillary : ") + viewName(mView) + QStringLiteral(" View"));
}

void frmMain::CloseDatabase()
{
    mSession.closeDatabase();
}

void frmMain::cmdExit_Click()
{
    CloseDatabase();
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing in the middle of a fill or a start-up would pull the database from under it.
    if (isBusy()) {
        mCloseRequested = true;
        event->ignore();
        return;
    }
    CloseDatabase();
    // The Find dialog, kept hidden between uses, goes with the main window.
    if (mFind)
        mFind->close();
    event->accept();
}

void frmMain::mnuFileItem_Click(int index)
{
    if (index == 99)
        cmdExit_Click();
}

void frmMain::mnuViewItem_Click(int index)
{
    static const View views[] = {View::Work, View::Publisher, View::Submission};
    if (index < 0 || index > 2)
        return;
    mView = views[index];
    for (int i = 0; i < 3; ++i)
        mnuViewItem[i]->setEnabled(i != index);
    BusyScope busy(this);
    SetGridColumns();
    LoadSelections();
    setCaptionForView();
}

void frmMain::mnuEditItem_Click(int index)
{
    switch (index) {
    case 0: NewRecord(); break;
    case 1: if (cmdAmend->isEnabled()) AmendRecord(); break;
    case 2: if (cmdDelete->isEnabled()) DeleteRecord(); break;
    case 4: cmdSettings_Click(); break;
    default: break;
    }
}

void frmMain::mnuFindItem_Click(int index)
{
    if (index == 0)
        cmdFind_Click();
    else if (index == 1)
        FindInGrid(FindMode::Next, mFind ? mFind->findText() : QString());
}

void frmMain::mnuAbout_Click()
{
    frmAbout about(mDesktop.links, this);
    about.exec();
}

void frmMain::grdData_Click()
{
    // Highlight the whole current row.
    const int row = grdData->row();
    grdData->setSelectionRange(row, 0, row, grdData->cols() - 1);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::ToolTip) {
        if (watched == cmdNew)
            setButtonToolTip(cmdNew, QStringLiteral("Enter New ") + viewName(mView));
        else if (watched == cmdAmend)
            setButtonToolTip(cmdAmend, QStringLiteral("Amend Current ") + viewName(mView));
        else if (watched == cmdDelete)
            setButtonToolTip(cmdDelete, QStringLiteral("Delete Current ") + viewName(mView));
    }
    return QMainWindow::eventFilter(watched, event);
}
