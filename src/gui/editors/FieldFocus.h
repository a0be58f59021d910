#pragma once
// Which field a hot key types into, and what the focus does on arriving in a field.
//
// Each text field and some other controls carry a code. Focus arriving in one makes its
// code the hot-key target (0: none). A text field arriving by the keyboard or a click selects
// all its text, so typing replaces it; when the focus comes back for a hot key the field
// keeps the selection it had when it lost the focus, so the keys replace just that.

#include <QHash>
#include <QObject>

class QFocusEvent;
class QWidget;

class FieldFocus : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A text field (QLineEdit, QTextEdit or QPlainTextEdit) that can be the hot-key target.
    // With honoursHotKeyFocus false it selects all even for a hot key (a year's digits
    // replace the year).
    void addTextField(QWidget* field, int code, bool honoursHotKeyFocus = true);
    // Focus arriving in the control makes code the target (0 clears it).
    void setFocusCode(QWidget* control, int code);

    // The code of the hot-key target; 0 when there is none.
    int target() const { return mTarget; }
    // Forgets the target, as when an editor has just loaded.
    void reset();
    // The next activation of the window (the one that follows showing it) counts as the
    // focus arriving in a field; later ones (back from a message box) do not.
    void expectActivation() { mActivationPending = true; }

    // Puts the focus back in the target field with the selection it had; the field, or
    // null when there is no target.
    QWidget* focusTargetForHotKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TextField {
        int code = 0;
        bool honoursHotKeyFocus = true;
    };
    // The selection a one-line field had when it last lost the focus.
    struct SavedSelection {
        QWidget* field = nullptr;
        int start = -1;
        int length = 0;
        int cursor = 0;
    };

    bool onFocusIn(QWidget* widget, QFocusEvent* event);
    void restoreSelection(QWidget* field);

    QHash<QWidget*, TextField> mTextFields;
    QHash<QWidget*, int> mFocusCodes;
    int mTarget = 0;
    bool mForHotKey = false;  // the next focus of a text field keeps its selection
    bool mActivationPending = false;
    bool mRedelivering = false;
    SavedSelection mSaved;
};
