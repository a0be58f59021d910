#pragma once
// The main window: a grid browser over one view (Works, Publishers or Submissions),
// narrowed by saved selections, with the commands that open the editors and dialogs.

#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <set>

#include "core/Editing.h"
#include "core/Session.h"
#include "core/View.h"
#include "platform/Services.h"

class QAction;
class QComboBox;
class QFrame;
class QMenu;
class QTimer;
class QToolButton;
class Grid;
class StatusPanel;
class frmFind;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // appDir is the program's folder (the executable's by default); tests pass their own.
    frmMain(Desktop desktop, Clock& clock, const QString& appDir = QString(), QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the window maximized and starts up; false when the program must end
    // (the database could not be opened, or the user declined to create one).
    bool Load();

    // Controls, named as the program knows them (tests drive them directly).
    QFrame* fraButtons = nullptr;
    QToolButton* cmdExit = nullptr;
    QToolButton* cmdWork = nullptr;
    QToolButton* cmdPublisher = nullptr;
    QToolButton* cmdSubmission = nullptr;
    QToolButton* cmdNew = nullptr;
    QToolButton* cmdAmend = nullptr;
    QToolButton* cmdDelete = nullptr;
    QToolButton* cmdFind = nullptr;
    QToolButton* cmdRefresh = nullptr;
    QToolButton* cmdSettings = nullptr;
    QComboBox* cboSQL = nullptr;
    QFrame* fraMain = nullptr;
    Grid* grdData = nullptr;
    StatusPanel* pnlStatus = nullptr;
    QTimer* tmrMessage = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuFind = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileExit = nullptr;                 // mnuFileItem(99)
    std::array<QAction*, 3> mnuViewItem{};          // Works, Publishers, Submissions
    std::array<QAction*, 5> mnuEditItem{};          // New, Amend, Delete, separator, Edit Settings
    std::array<QAction*, 2> mnuFindItem{};          // Find ..., Find Next
    QAction* mnuAbout = nullptr;

    // What the windows share: settings, database, clock.
    Session& session() { return mSession; }
    // The view listed now.
    View view() const { return mView; }

    // Window state the browsing and commands keep.
    QString mWhere;
    int mSelectionResolved = -1;   // the cboSQL index that produced mWhere
    View mWhereView = View::Work;  // the view whose selection produced mWhere
    QStringList mSelections;       // the condition of each cboSQL item, plus a spare empty one
    int mSelectId = 0;             // the record to make current after the next fill
    bool mDataChanged = false;     // a record was written since the listing was filled
    int mVisibleRows = 0;
    int mMaxTopRow = 1;
    int mMaxLeftCol = 0;

    // Menu handlers, one per submenu, by item index.
    void mnuFileItem_Click(int index);
    void mnuViewItem_Click(int index);
    void mnuEditItem_Click(int index);
    void mnuFindItem_Click(int index);
    void mnuAbout_Click();

    // Browsing.
    void SetGridColumns();
    void FillGrid();
    void ReselectRecord();
    void LoadSelections();
    QString ResolveSelection(const QString& caption, const QString& condition);
    void cboSQL_Click();
    void SwitchViewByButton(View view);
    void cmdRefresh_Click();
    void grdData_Click();
    enum class FindMode { First, Next };
    void FindInGrid(FindMode mode, const QString& text);
    void cmdFind_Click();

    // Record commands.
    void NewRecord();
    void AmendRecord();
    void DeleteRecord();
    void cmdSettings_Click();

    // Closes the database and the window.
    void cmdExit_Click();

    // True while the listing is being built, refreshed or searched: commands do not start.
    bool isBusy() const { return mBusy > 0; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks the window busy for its lifetime (nests); the hourglass shows meanwhile.
    class BusyScope {
    public:
        explicit BusyScope(frmMain* window);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;
    private:
        frmMain* mWindow;
    };
    // Lets the window paint; input waits until the work is done.
    static void letPaint();
    // A handler for a user's command that does nothing while the window is busy.
    template <class F>
    auto whenIdle(F handler)
    {
        return [this, handler] {
            if (!isBusy())
                handler();
        };
    }

    bool Initialise();
    void CloseDatabase();
    void buildControls();
    void buildMenus();
    void setCaptionForView();
    void grdData_KeyDown(QKeyEvent* event, bool* consumed);
    void grdData_DblClick();
    void AfterEditor();
    // Opens the editor of the current view modally; what it did.
    EditResult ShowEditor(const EditRequest& request);
    bool OpenDatabase();
    void ApplyEditResult(const EditResult& result);

    Desktop mDesktop;
    Session mSession;
    View mView = View::Work;
    frmFind* mFind = nullptr;
    int mBusy = 0;
    bool mCloseRequested = false;  // a close that arrived while busy, carried out after
    std::set<View> mReportedSections;  // views whose selection problems were told
};
