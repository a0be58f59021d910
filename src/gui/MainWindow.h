#pragma once
// The main window: a grid browser over one view (Works, Publishers or Submissions),
// narrowed by saved selections, with the commands that open the editors and dialogs.

#include <optional>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <set>

#include "core/Editing.h"
#include "core/Session.h"
#include "core/View.h"
#include "gui/Prompts.h"

class QAction;
class QComboBox;
class QFrame;
class QMenu;
class QTimer;
class QToolButton;
class GridView;
class StatusPanel;
class FindDialog;
class StatisticsWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum class FindMode { First, Next };

    // appDir is the program's folder (the executable's by default); tests pass their own.
    MainWindow(Desktop desktop, Clock& clock, const QString& appDir = QString(), QWidget* parent = nullptr);
    // The settings file and database where the location rule put them.
    MainWindow(Desktop desktop, Clock& clock, const FileLocations& locations, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window maximized and starts up; false when the program must end
    // (the database could not be opened, or the user declined to create one).
    bool load();

    // What the windows share: settings, database, clock.
    Session& session() { return mSession; }
    // The view listed now.
    View view() const { return mView; }

    // The condition the chosen selection resolved to, its typed values in place.
    const QString& resolvedCondition() const { return mWhere; }
    // The condition of each saved selection listed, plus a spare empty one.
    const QStringList& selectionConditions() const { return mSelections; }
    // A record was written since the listing was filled (by an editor with refresh off).
    bool dataChanged() const { return mDataChanged; }
    void noteDataChanged() { mDataChanged = true; }
    // Whole rows the grid shows at its present size.
    int visibleRows() const { return mVisibleRows; }

public slots:
    // Menu handlers, one per submenu, by item index.
    void onFileMenuItem(int index);
    void onViewMenuItem(int index);
    void onEditMenuItem(int index);
    void onFindMenuItem(int index);
    void onAboutTriggered();

    // Browsing.
    void setGridColumns();
    void fillGrid();
    void reselectRecord();
    void loadSelections();
    QString resolveSelection(const QString& caption, const QString& condition);
    void onSelectionChosen();
    void switchView(View view);
    void onRefreshClicked();
    void highlightCurrentRow();
    void findInGrid(FindMode mode, const QString& text);
    void onFindClicked();

    // Record commands.
    void newRecord();
    void amendRecord();
    void deleteRecord();
    void onSettingsClicked();

public:
    // The Statistics window and the CSV export of the listing (MainWindowInsight.cpp).
    void showStatistics();
    // Writes the grid's listing as shown to a CSV file the user names.
    void exportListing();
    // File > Import... and Edit > Undo Last Import; the listing follows what they changed.
    void importFile();
    void undoImport();
    StatisticsWindow* statisticsWindow() const { return mStatistics; }

    // Closes the database and the window.
    void onExitClicked();

    // True while the listing is being built, refreshed or searched: commands do not start.
    bool isBusy() const { return mBusy > 0; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls; tests find them by their object names.
    QFrame* buttonBar = nullptr;
    QToolButton* exitButton = nullptr;
    QToolButton* worksButton = nullptr;
    QToolButton* publishersButton = nullptr;
    QToolButton* submissionsButton = nullptr;
    QToolButton* newButton = nullptr;
    QToolButton* amendButton = nullptr;
    QToolButton* deleteButton = nullptr;
    QToolButton* findButton = nullptr;
    QToolButton* refreshButton = nullptr;
    QToolButton* settingsButton = nullptr;
    QToolButton* statisticsButton = nullptr;
    QComboBox* selectionCombo = nullptr;
    QFrame* gridFrame = nullptr;
    GridView* grid = nullptr;
    StatusPanel* statusPanel = nullptr;
    QTimer* messageTimer = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* findMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* exitAction = nullptr;
    QAction* backupAction = nullptr;                 // mnuFileItem(99)
    QAction* exportAction = nullptr;               // File > Export Listing
    QAction* importAction = nullptr;               // File > Import...
    QAction* undoImportAction = nullptr;           // Edit > Undo Last Import
    QAction* statisticsAction = nullptr;           // View > Statistics
    std::array<QAction*, 3> viewActions{};          // Works, Publishers, Submissions
    std::array<QAction*, 5> editActions{};          // New, Amend, Delete, separator, Edit Settings
    std::array<QAction*, 2> findActions{};          // Find ..., Find Next
    QAction* aboutAction = nullptr;

    // Marks the window busy for its lifetime (nests); the hourglass shows meanwhile.
    class BusyScope {
    public:
        explicit BusyScope(MainWindow* window);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;
    private:
        MainWindow* mWindow;
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

    bool initialise();
    void closeDatabase();
    void buildControls();
    void buildMenus();
    void setCaptionForView();
    void onGridKeyDown(QKeyEvent* event, bool* consumed);
    void onGridDoubleClicked();
    void afterEditor();
    // Opens the editor of the current view modally; what it did.
    EditResult showEditor(const EditRequest& request);
    bool openDatabase();
    void applyEditResult(const EditResult& result);

    // Window state the browsing and commands keep.
    QString mWhere;
    int mSelectionResolved = -1;   // the selectionCombo index that produced mWhere
    View mWhereView = View::Work;  // the view whose selection produced mWhere
    QStringList mSelections;       // the condition of each selectionCombo item, plus a spare empty one
    int mSelectId = 0;             // the record to make current after the next fill
    bool mDataChanged = false;     // a record was written since the listing was filled
    int mVisibleRows = 0;
    int mMaxTopRow = 1;
    std::optional<View> mLastFillView;  // the view the grid's rows were read for
    int mMaxLeftCol = 0;

    Desktop mDesktop;
    Session mSession;
    View mView = View::Work;
    FindDialog* mFind = nullptr;
    StatisticsWindow* mStatistics = nullptr;
    int mBusy = 0;
    bool mCloseRequested = false;  // a close that arrived while busy, carried out after
    std::set<View> mReportedSections;  // views whose selection problems were told
};
