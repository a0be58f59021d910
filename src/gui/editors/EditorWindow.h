#pragma once
// What the three record editors share: the button bar (OK, Cancel, hot-key buttons,
// Previous and Next), the status panel, the editor's own row, the change flag, the hot-key
// target field, and the closing and saving frame.
//
// Building an editor on it:
//
//   class ThingEditor : public EditorWindow {
//   public:
//       ThingEditor(Session& session, Desktop desktop, QWidget* parent = nullptr)
//           : EditorWindow(session, desktop, QStringLiteral("Thing"), parent)
//       {
//           auto* fields = new QGridLayout;
//           ... create the fields as children of this, add them to fields ...
//           setFieldsLayout(fields);       // between buttonBar and statusPanel
//           addTextField(nameEdit, 1);      // field code 1: hot-key target, focus rule
//           setFocusCode(kindList, 0);      // focus here clears the hot-key target
//           watchForChanges(kindList);      // any edit sets mChanged
//           finishSetup({nameEdit, kindList}); // tab order, then the button bar
//       }
//   protected:
//       QWidget* firstField() const override;                   // focus on every showing
//       void loadDefaults() override;                            // "New"
//       bool loadRecord(RecordStore& store, int id) override;    // "Amend"
//       void fillLists(RecordStore& store) override;
//       SaveResult beforeSave() override;                        // questions and checks
//       int writeRecord(RecordStore& store, int id) override;    // the store's save
//   };
//
// The window opener (the main window) calls run() with an EditRequest: load() and, when the
// record could be shown, exec(). The editor answers with an EditResult.
//
// Every read and write goes through the RecordStore; each save is one of its calls, all or
// nothing. A save that cannot be made is refused with a message and the window stays open
// with everything typed.

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>

#include "core/Editing.h"
#include "gui/Prompts.h"
#include "core/View.h"

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QTimer;
class FieldFocus;
class HotKeyBar;
class Session;
class StatusPanel;
class RecordStore;

// Thrown by writeRecord() to refuse the save with a message of its own: nothing is written,
// the message is shown and the editor stays open.
class SaveRefusal : public std::runtime_error {
public:
    explicit SaveRefusal(const QString& message);
    QString message() const { return mMessage; }

private:
    QString mMessage;
};

class EditorWindow : public QDialog {
    Q_OBJECT
public:
    enum class SaveResult {
        Saved,     // written and committed; the result names the record and the change
        Declined,  // the user chose not to save (duplicate-name No), or the record is gone:
                   // nothing written, the editor closes
        Refused,   // could not be saved; the message has been shown, the editor stays open
    };

    ~EditorWindow() override;

    // The load sequence: title, hot-key buttons, the own row ("Amend") or the defaults
    // ("New"), the lookup lists, Previous/Next, and the change flag cleared. False when
    // the record cannot be shown (it no longer exists, or the database failed); the user
    // has been told, and the window is not to be shown.
    bool load(const EditRequest& request);
    // load() and, when it succeeds, exec(); what the editor did.
    EditResult run(const EditRequest& request);
    // What the editor did so far: saved, gone, where to step next.
    const EditResult& result() const { return mResult; }

    // Something was edited since loading finished.
    bool hasChanges() const { return mChanged; }

    const QString& designTitle() const { return mDesignTitle; }
    // The ID of the record read at load; empty for "New" and after saving or closing.
    const std::optional<int>& recordId() const { return mRecordId; }
    HotKeyBar* hotKeys() const { return mHotKeys; }

    // Button handlers (also reached by Enter, Esc and the title-bar close box). An editor may
    // put a guard of its own in front of OK.
    virtual void onOkClicked();
    void onCancelClicked();
    void onPreviousClicked();
    void onNextClicked();
    void onHotKeyClicked(int index);

    // Writes the record as the editor shows it. Normally reached through the buttons.
    SaveResult saveRecord();
    // Lets go of the row read at load without writing.
    void closeRecord();

    // Option groups of two or more buttons: index of the checked button, -1 for none;
    // setOption(-1) clears the group, which an exclusive group cannot do by itself.
    static int optionIndex(const QButtonGroup* group);
    static void setOption(QButtonGroup* group, int index);

protected:
    bool mChanged = false;  // something was edited since loading finished

    // Controls; tests find them by their object names.
    QFrame* buttonBar = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QList<QPushButton*> hotKeyButtons;   // indexes 0 to 4
    QPushButton* previousButton = nullptr;
    QPushButton* nextButton = nullptr;
    StatusPanel* statusPanel = nullptr;
    QTimer* messageTimer = nullptr;

    // designTitle: "Work", "Publisher" or "Submission".
    EditorWindow(Session& session, Desktop desktop, const QString& designTitle, QWidget* parent = nullptr);

    Session& session() const { return mSession; }
    const Desktop& desktop() const { return mDesktop; }

    // --- Set-up helpers for the constructor of an editor ---

    // Puts the editor's own fields between the button bar across the top and the status
    // panel along the bottom, giving them the room the window has to spare.
    void setFieldsLayout(QLayout* fields);
    // A text field (QLineEdit, QTextEdit or QPlainTextEdit) that can be the hot-key target.
    // Focus arriving in it makes code the hot-key target; see FieldFocus for what happens
    // to its selection. With honoursHotKeyFocus false it always selects all.
    // Its edits set mChanged.
    void addTextField(QWidget* field, int code, bool honoursHotKeyFocus = true);
    // Focus arriving in the control makes code the hot-key target. By default previousButton and
    // nextButton set 0; an editor may add controls or change a code.
    void setFocusCode(QWidget* control, int code);
    // Edits of the control set mChanged: text changes, list clicks and selection changes,
    // button clicks and toggles.
    void watchForChanges(QObject* control);
    // Lets through only the characters accept() takes; keys that type no character
    // (arrows, Tab, Delete, Enter, Esc, function keys) always pass. Sent hot-key keystrokes
    // pass through the same filter.
    void setCharacterFilter(QWidget* field, std::function<bool(QChar)> accept);
    // Call last in the constructor: the tab order through the fields as listed, then the
    // button bar.
    void finishSetup(std::initializer_list<QWidget*> fields);

    // --- What each editor provides ---

    // The field that gets the focus each time the window is shown.
    virtual QWidget* firstField() const = 0;
    // "New": put the defaults into the controls.
    virtual void loadDefaults() = 0;
    // "Amend": read the record of that ID and copy its fields into the controls. False when
    // it no longer exists.
    virtual bool loadRecord(RecordStore& store, int id) = 0;
    // Fill the lookup lists and select the entries of the record loaded (the defaults for
    // "New").
    virtual void fillLists(RecordStore& store) = 0;
    // Checks and questions before anything is written: Saved to go on, Declined to close
    // without writing, Refused (after refuse()) to keep the window open.
    virtual SaveResult beforeSave() { return SaveResult::Saved; }
    // Writes the record as the controls show it through one save of the store (id 0 for
    // "New") and returns its ID. A RecordStoreError or SaveRefusal leaves nothing written.
    virtual int writeRecord(RecordStore& store, int id) = 0;
    // After a save has been committed, with the record's ID: what follows from it (the
    // editor is still open). Nothing by default.
    virtual void afterSave(int id) { (void)id; }

    // "New" only: when a record of the view with that name is stored, asks whether to save
    // another of that name. Saved, Declined, or Refused if it failed.
    SaveResult askAboutSameName(View view, const QString& name);
    // Shows a save problem (Warning icon, OK) and returns Refused.
    SaveResult refuse(const QString& message);
    // The editor was loaded for "New".
    bool isNew() const;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The shared closing pattern; askFirst: prompt before saving when something changed.
    // A refused save keeps the window open and cancels any step the user asked for.
    void finish(bool askFirst);
    void closeEditor();
    void markChanged();
    void recordGone();

    Session& mSession;
    Desktop mDesktop;
    EditResult mResult;
    QString mDesignTitle;
    bool mNew = false;  // opened for "New" (taken from the request at load)
    std::optional<int> mRecordId;
    HotKeyBar* mHotKeys = nullptr;
    QVBoxLayout* mColumn = nullptr;  // button bar, fields, status panel
    FieldFocus* mFocus = nullptr;
    QHash<QWidget*, std::function<bool(QChar)>> mCharacterFilters;
    bool mClosing = false;
};
