#include "main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <QFrame>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindowStateChangeEvent>

#include "app/modQuillary.h"
#include "data/Database.h"
#include "main/MainLayout.h"
#include "main/frmAbout.h"
#include "main/frmFind.h"
#include "platform/Grid.h"
#include "platform/PictureButton.h"
#include "platform/Services.h"
#include "platform/StatusPanel.h"
#include "platform/Twips.h"

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

    fraButtons = new QFrame(client);
    fraButtons->setObjectName(QStringLiteral("fraButtons"));
    fraButtons->setFrameShape(QFrame::StyledPanel);

    struct ButtonDef {
        QToolButton** button;
        const char* name;
        const char* icon;
        const char* tip;
        int left;
    };
    const ButtonDef defs[] = {
        {&cmdExit, "cmdExit", "exit", "Exit Quillary", 120},
        {&cmdWork, "cmdWork", "works", "View Works", 648},
        {&cmdPublisher, "cmdPublisher", "publishers", "View Publishers", 1032},
        {&cmdSubmission, "cmdSubmission", "submissions", "View Submissions", 1416},
        {&cmdNew, "cmdNew", "new", "Enter New ", 1944},
        {&cmdAmend, "cmdAmend", "amend", "Amend Current ", 2328},
        {&cmdDelete, "cmdDelete", "delete", "Delete Current ", 2712},
        {&cmdFind, "cmdFind", "find", "Find In Display", 3240},
        {&cmdRefresh, "cmdRefresh", "refresh", "Refresh Display", 3756},
        {&cmdSettings, "cmdSettings", "settings", "Edit Settings", 4284},
    };
    for (const ButtonDef& d : defs) {
        QToolButton* b = makePictureButton(fraButtons, QLatin1String(d.name), QLatin1String(d.icon), QLatin1String(d.tip));
        b->setGeometry(twipsRect(d.left, mainlayout::kButtonTop, mainlayout::kButtonWidth, mainlayout::kButtonHeight, this));
        const int side = qMax(16, twipsToPixels(mainlayout::kButtonHeight, this) - 8);
        b->setIconSize(QSize(side, side));
        *d.button = b;
    }
    // These three name the current view; the names are set when the mouse comes over them.
    for (QToolButton* b : {cmdNew, cmdAmend, cmdDelete})
        b->installEventFilter(this);

    cboSQL = new QComboBox(fraButtons);
    cboSQL->setObjectName(QStringLiteral("cboSQL"));
    cboSQL->setAccessibleName(QStringLiteral("Selection"));
    cboSQL->setGeometry(twipsRect(0, mainlayout::kComboTop, mainlayout::kComboWidth, 0, this));
    cboSQL->resize(cboSQL->width(), cboSQL->sizeHint().height());

    fraMain = new QFrame(client);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    fraMain->setFrameShape(QFrame::StyledPanel);

    grdData = new Grid(fraMain);
    grdData->setObjectName(QStringLiteral("grdData"));
    grdData->move(twipsToPixels(mainlayout::kGridLeft, this), twipsToPixels(mainlayout::kGridTop, this));

    pnlStatus = new StatusPanel(client);
    tmrMessage = createMessageTimer(this, pnlStatus);

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

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutControls();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        LayoutControls();
}

void frmMain::LayoutControls()
{
    if (windowState() & Qt::WindowMinimized)
        return;
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QSize minimum(twipsToPixels(mainlayout::kMinNormalWidth, this),
                            twipsToPixels(mainlayout::kMinNormalHeight, this));
        const QRect outer = frameGeometry();
        const QSize frameExtra = outer.size() - size();
        const QSize wanted(qMax(outer.width(), minimum.width()), qMax(outer.height(), minimum.height()));
        if (wanted != outer.size()) {
            // The resize that follows lays out again.
            resize(wanted - frameExtra);
            return;
        }
    }
    const mainlayout::Result r = mainlayout::compute({pixelsToTwips(frameGeometry().width(), this),
                                                      pixelsToTwips(centralWidget()->height(), this),
                                                      pixelsToTwips(grdData->headerRowHeight(), this),
                                                      pixelsToTwips(1, this)});
    fraButtons->setGeometry(twipsRect(0, 0, r.buttonsWidth, mainlayout::kButtonsHeight, this));
    cboSQL->move(twipsToPixels(r.comboLeft, this), twipsToPixels(mainlayout::kComboTop, this));
    fraMain->setGeometry(twipsRect(0, mainlayout::kMainTop, r.mainWidth, r.mainHeight, this));
    grdData->setGeometry(twipsRect(mainlayout::kGridLeft, mainlayout::kGridTop, r.gridWidth, r.gridHeight, this));
    pnlStatus->setGeometry(twipsRect(mainlayout::kStatusLeft, r.statusTop, r.statusWidth, mainlayout::kStatusHeight, this));
    mVisibleRows = r.visibleRows;
}
