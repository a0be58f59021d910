#pragma once
// The main window: a grid listing one view (Works, Publishers or Submissions), narrowed by
// saved selections, with one action per command for the menus and the button bar.

#include <QMainWindow>
#include <QString>
#include <set>

#include "core/CurrentListing.h"
#include "core/Editing.h"
#include "core/Session.h"
#include "core/View.h"
#include "gui/Prompts.h"

class Cancellation;
class QAction;
class QComboBox;
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
    // What is listed: the view, its selections, the record to select, whether any is listed.
    CurrentListing& listing() { return mListing; }
    const CurrentListing& listing() const { return mListing; }
    View view() const { return mListing.view(); }
    // Whole rows the grid shows at its present size.
    int visibleRows() const;
    StatisticsWindow* statisticsWindow() const { return mStatistics; }
    // True while the listing is being built, refreshed or searched: commands do not start.
    bool isBusy() const { return mBusy > 0; }

public slots:
    void switchView(View view);
    // Lists the view anew under the chosen selection; the first row current.
    void fillGrid();
    void refresh();
    void onSelectionActivated(int index);
    void findInGrid(FindMode mode, const QString& text);
    void showFindDialog();
    void newRecord();
    void amendRecord();
    void deleteRecord();
    void showSettings();
    void showStatistics();
    // Writes the listing as shown to a CSV file the user names.
    void exportListing();
    void backUpDatabase();
    void showAbout();
    // File > Import... and Edit > Undo Last Import; the listing follows what they changed.
    void importFile();
    void undoImport();
    // Closes the database and the window.
    void exitProgram();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
    // The poll of long work that can be stopped: past a moment the window shows itself with
    // the Cancel button, and its events run; only Esc and Cancel reach it. True to stop.
    bool pollStop(Cancellation& cancellation);
    void endStoppable();

    void createActions();
    void buildControls();
    void buildMenus();
    bool initialise();
    bool openDatabase();
    void setColumns();
    void loadSelections();
    void reselectRecord();
    void updateCommands();
    void setCaptionForView();
    void onGridEnterPressed();
    void afterEditor();
    EditResult showEditor(const EditRequest& request);
    void applyEditResult(const EditResult& result);
    // The record of the current row; 0 when none is listed.
    int currentRecord() const;

    // One action per command; the menus and the button bar show them.
    QAction* worksAction = nullptr;
    QAction* publishersAction = nullptr;
    QAction* submissionsAction = nullptr;
    QAction* newAction = nullptr;
    QAction* amendAction = nullptr;
    QAction* deleteAction = nullptr;
    QAction* findAction = nullptr;
    QAction* findNextAction = nullptr;
    QAction* refreshAction = nullptr;
    QAction* settingsAction = nullptr;
    QAction* statisticsAction = nullptr;
    QAction* exportAction = nullptr;
    QAction* backupAction = nullptr;
    QAction* importAction = nullptr;
    QAction* undoImportAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* exitAction = nullptr;

    QComboBox* selectionCombo = nullptr;
    GridView* grid = nullptr;
    StatusPanel* statusPanel = nullptr;

    Desktop mDesktop;
    Session mSession;
    CurrentListing mListing;
    int mLastFillRows = -1;        // rows the view's last fill listed, -1 before one
    FindDialog* mFind = nullptr;
    StatisticsWindow* mStatistics = nullptr;
    int mBusy = 0;
    Cancellation* mStoppable = nullptr;  // the work Esc or Cancel stops now
    bool mCloseRequested = false;  // a close that arrived while busy, carried out after
    std::set<View> mReportedSections;  // views whose selection problems were told
};
