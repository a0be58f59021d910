#include "gui/editors/EditorWindow.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

#include "gui/StatusMessage.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "gui/HotKeyBar.h"
#include "gui/editors/FieldFocus.h"
#include "gui/PictureButton.h"
#include "gui/Prompts.h"
#include "gui/StatusPanel.h"

namespace {

const QString kSavePrompt = QStringLiteral("Changes have been made; shall I save them?");

// The store's failure as the user is told it: a lock held by another program in plain
// words naming the file, anything else as "<what>" followed by the engine's own text.
QString failureText(const QString& what, const std::exception& e)
{
    const auto* failure = dynamic_cast<const RecordStoreError*>(&e);
    if (failure && failure->isLocked())
        return failure->message();
    return QStringLiteral("%1\n\n%2").arg(what, failure ? failure->message() : QString::fromUtf8(e.what()));
}

} // namespace

SaveRefusal::SaveRefusal(const QString& message)
    : std::runtime_error(message.toStdString()), mMessage(message)
{
}

// --- Construction ---

EditorWindow::EditorWindow(Session& session, Desktop desktop, const QString& designTitle, QWidget* parent)
    : QDialog(parent), mSession(session), mDesktop(desktop), mDesignTitle(designTitle)
{
    setWindowIcon(programIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // A window the user may size and maximise; the fields grow with it.
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    mColumn = new QVBoxLayout(this);
    mColumn->setContentsMargins(0, 0, 0, 0);
    mColumn->setSpacing(0);

    // The button bar across the top: OK and Cancel, the hot keys, Previous and Next.
    buttonBar = new QFrame(this);
    buttonBar->setObjectName(QStringLiteral("buttonBar"));
    buttonBar->setFrameShape(QFrame::StyledPanel);
    QHBoxLayout* bar = makeButtonBarLayout(buttonBar);
    const int gap = buttonGroupGap(buttonBar);

    okButton = makePicturePushButton(buttonBar, QStringLiteral("okButton"), QStringLiteral("ok"), QStringLiteral("OK"));
    okButton->setDefault(true);
    bar->addWidget(okButton);
    cancelButton = makePicturePushButton(buttonBar, QStringLiteral("cancelButton"), QStringLiteral("cancel"),
                                      QStringLiteral("Cancel"));
    bar->addWidget(cancelButton);

    bar->addSpacing(gap);
    hotKeyButtons = HotKeyBar::createButtons(buttonBar, bar);
    bar->addSpacing(gap);

    previousButton = makePicturePushButton(buttonBar, QStringLiteral("previousButton"), QStringLiteral("previous"),
                                        QStringLiteral("Previous Record"));
    bar->addWidget(previousButton);
    nextButton = makePicturePushButton(buttonBar, QStringLiteral("nextButton"), QStringLiteral("next"),
                                    QStringLiteral("Next Record"));
    bar->addWidget(nextButton);
    bar->addStretch(1);
    mColumn->addWidget(buttonBar);

    // The status panel along the bottom; the editor's fields go in between.
    statusPanel = new StatusPanel(this);
    statusPanel->setObjectName(QStringLiteral("statusPanel"));
    mColumn->addWidget(statusPanel);
    messageTimer = createMessageTimer(this, statusPanel);

    mHotKeys = new HotKeyBar(this, hotKeyButtons, statusPanel);
    mFocus = new FieldFocus(this);

    connect(okButton, &QPushButton::clicked, this, &EditorWindow::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &EditorWindow::onCancelClicked);
    connect(previousButton, &QPushButton::clicked, this, &EditorWindow::onPreviousClicked);
    connect(nextButton, &QPushButton::clicked, this, &EditorWindow::onNextClicked);
    connect(mHotKeys, &HotKeyBar::clicked, this, &EditorWindow::onHotKeyClicked);

    setFocusCode(previousButton, 0);
    setFocusCode(nextButton, 0);
}

EditorWindow::~EditorWindow()
{
    if (mHotKeys)
        mHotKeys->removeKeyFilter();
}

void EditorWindow::setFieldsLayout(QLayout* fields)
{
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    fields->setContentsMargins(margin, margin, margin, margin);
    // Between the button bar and the status panel, taking every bit of height they leave.
    mColumn->insertLayout(1, fields, 1);
}

void EditorWindow::addTextField(QWidget* field, int code, bool honoursHotKeyFocus)
{
    mFocus->addTextField(field, code, honoursHotKeyFocus);
    watchForChanges(field);
}

void EditorWindow::setFocusCode(QWidget* control, int code)
{
    mFocus->setFocusCode(control, code);
}

void EditorWindow::watchForChanges(QObject* control)
{
    auto changed = [this] { markChanged(); };
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        connect(line, &QLineEdit::textChanged, this, changed);
    } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
        connect(text, &QTextEdit::textChanged, this, changed);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        connect(plain, &QPlainTextEdit::textChanged, this, changed);
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        connect(list, &QListWidget::itemClicked, this, changed);
        connect(list, &QListWidget::itemSelectionChanged, this, changed);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        connect(combo, &QComboBox::currentIndexChanged, this, changed);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, changed);
        connect(button, &QAbstractButton::toggled, this, changed);
    } else if (auto* group = qobject_cast<QButtonGroup*>(control)) {
        connect(group, &QButtonGroup::buttonClicked, this, changed);
        connect(group, &QButtonGroup::buttonToggled, this, changed);
    }
}

void EditorWindow::setCharacterFilter(QWidget* field, std::function<bool(QChar)> accept)
{
    mCharacterFilters.insert(field, std::move(accept));
    field->installEventFilter(this);
}

void EditorWindow::finishSetup(std::initializer_list<QWidget*> fields)
{
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (QWidget* field : fields)
        chain(field);
    chain(okButton);
    chain(cancelButton);
    for (QPushButton* button : hotKeyButtons)
        chain(button);
    chain(previousButton);
    chain(nextButton);
}

bool EditorWindow::isNew() const
{
    return mNew;
}

EditorWindow::SaveResult EditorWindow::askAboutSameName(View view, const QString& name)
{
    if (!isNew())
        return SaveResult::Saved;
    bool exists = false;
    try {
        exists = mSession.store().nameExists(view, name);
    } catch (const std::exception& e) {
        return refuse(failureText(QStringLiteral("The %1 could not be saved.").arg(mDesignTitle), e));
    }
    if (exists
        && mDesktop.prompts.message(
               this, QStringLiteral("A %1 with this name already exists in the system - continue?").arg(mDesignTitle),
               Prompts::Buttons::YesNo, Prompts::Icon::Critical, Prompts::Answer::Yes)
               != Prompts::Answer::Yes)
        return SaveResult::Declined;
    return SaveResult::Saved;
}

// --- load ---

bool EditorWindow::load(const EditRequest& request)
{
    mClosing = false;
    mResult = EditResult{};
    mNew = request.mode == EditMode::New;
    setWindowTitle((mNew ? QStringLiteral("New ") : QStringLiteral("Amend ")) + mDesignTitle);
    mHotKeys->load(mSession.settings().hotKeys());
    mRecordId.reset();
    if (!mSession.isOpen()) {
        refuse(tr("No database is open."));
        return false;
    }
    try {
        RecordStore store = mSession.store();
        if (isNew()) {
            loadDefaults();
        } else {
            if (!loadRecord(store, request.recordId)) {
                recordGone();
                return false;
            }
            mRecordId = request.recordId;
        }
        fillLists(store);
    } catch (const std::exception& e) {
        mRecordId.reset();
        mDesktop.prompts.message(this, failureText(QStringLiteral("The %1 could not be read.").arg(mDesignTitle), e),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    previousButton->setEnabled(!request.atFirstRow);
    nextButton->setEnabled(!request.atLastRow);
    mFocus->reset();
    // Filling the controls above fired their change handlers.
    mChanged = false;
    mHotKeys->installKeyFilter();
    return true;
}

EditResult EditorWindow::run(const EditRequest& request)
{
    if (load(request))
        exec();
    return mResult;
}

void EditorWindow::recordGone()
{
    mDesktop.prompts.message(this, tr("This %1 no longer exists.").arg(mDesignTitle),
                             Prompts::Buttons::Ok, Prompts::Icon::Information);
    // The listing still shows it: let the main window refresh.
    mResult.dataChanged = true;
}

// --- Saving and closing ---

EditorWindow::SaveResult EditorWindow::refuse(const QString& message)
{
    mDesktop.prompts.message(this, message, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return SaveResult::Refused;
}

EditorWindow::SaveResult EditorWindow::saveRecord()
{
    if (!mSession.isOpen())
        return refuse(tr("No database is open; the %1 cannot be saved.").arg(mDesignTitle));
    if (!isNew() && !mRecordId)
        return refuse(tr("The %1 was not loaded; it cannot be saved.").arg(mDesignTitle));

    const SaveResult check = beforeSave();
    if (check != SaveResult::Saved)
        return check;

    int id = 0;
    bool gone = false;
    try {
        RecordStore store = mSession.store();
        id = writeRecord(store, isNew() ? 0 : *mRecordId);
    } catch (const SaveRefusal& refusal) {
        return refuse(refusal.message());
    } catch (const RecordStoreError& e) {
        if (e.reason() != RecordStoreError::Reason::Gone)
            return refuse(failureText(QStringLiteral("The %1 could not be saved.").arg(mDesignTitle), e));
        gone = true;
    } catch (const std::exception& e) {
        return refuse(failureText(QStringLiteral("The %1 could not be saved.").arg(mDesignTitle), e));
    }
    if (gone) {
        // Deleted since it was loaded; there is nothing left to save it into.
        recordGone();
        closeRecord();
        return SaveResult::Declined;
    }
    mResult.selectId = id;
    closeRecord();
    mResult.dataChanged = true;
    afterSave(id);
    return SaveResult::Saved;
}

void EditorWindow::closeRecord()
{
    mRecordId.reset();
}

void EditorWindow::finish(bool askFirst)
{
    if (!mChanged) {
        closeRecord();
        closeEditor();
        return;
    }
    if (askFirst
        && mDesktop.prompts.message(this, kSavePrompt, Prompts::Buttons::YesNo, Prompts::Icon::Question,
                                    Prompts::Answer::Yes)
               != Prompts::Answer::Yes) {
        closeRecord();
        closeEditor();
        return;
    }
    if (saveRecord() == SaveResult::Refused) {
        // The editor stays open with everything typed; the main window must not step on.
        mResult.step = Step::None;
        return;
    }
    closeRecord();
    closeEditor();
}

void EditorWindow::closeEditor()
{
    mClosing = true;
    mHotKeys->removeKeyFilter();
    QDialog::done(QDialog::Accepted);
}

void EditorWindow::onOkClicked()
{
    finish(false);
}

void EditorWindow::onCancelClicked()
{
    finish(true);
}

void EditorWindow::onPreviousClicked()
{
    mResult.step = Step::Previous;
    finish(true);
}

void EditorWindow::onNextClicked()
{
    mResult.step = Step::Next;
    finish(true);
}

void EditorWindow::reject()
{
    // Esc presses Cancel.
    onCancelClicked();
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (mClosing) {
        event->accept();
        return;
    }
    // The close box is Cancel without the step on to another record.
    event->ignore();
    finish(true);
}

void EditorWindow::markChanged()
{
    mChanged = true;
}

// --- Hot keys and focus ---

void EditorWindow::onHotKeyClicked(int index)
{
    // Queued: the keys arrive after this handler, at the field that now has the focus.
    if (mFocus->focusTargetForHotKey())
        mHotKeys->send(index);
}

void EditorWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QWidget* field = firstField()) {
        mFocus->expectActivation();
        field->setFocus(Qt::OtherFocusReason);
    }
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return QDialog::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress) {
        const auto filter = mCharacterFilters.constFind(widget);
        if (filter == mCharacterFilters.cend())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false;
        default:
            break;
        }
        // The filter cannot see what a paste would bring: a field with a validator lets it
        // judge; any other filtered field takes no paste.
        if (key->matches(QKeySequence::Paste)) {
            const auto* line = qobject_cast<QLineEdit*>(widget);
            return !(line && line->validator());
        }
        const QString text = key->text();
        for (const QChar c : text) {
            if (!(*filter)(c))
                return true;
        }
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

// --- Option groups ---

int EditorWindow::optionIndex(const QButtonGroup* group)
{
    const QList<QAbstractButton*> buttons = group->buttons();
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked())
            return group->id(buttons[i]) >= 0 ? group->id(buttons[i]) : i;
    }
    return -1;
}

void EditorWindow::setOption(QButtonGroup* group, int index)
{
    // An exclusive group will not let its checked button go.
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    const QList<QAbstractButton*> buttons = group->buttons();
    for (int i = 0; i < buttons.size(); ++i) {
        const int id = group->id(buttons[i]) >= 0 ? group->id(buttons[i]) : i;
        buttons[i]->setChecked(id == index);
    }
    group->setExclusive(exclusive);
}
