#include "gui/FindDialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QGridLayout>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "gui/PictureButton.h"

FindDialog::FindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(tr("Find"));

    const DialogFrame frame = makeDialogFrame(this, true);
    QVBoxLayout* column = frame.column;
    buttonBar = frame.bar.frame;
    okButton = frame.bar.ok;
    cancelButton = frame.bar.cancel;

    // The caption left of the field, the two options below the field, slightly indented.
    auto* fields = new QGridLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    fields->setContentsMargins(2 * margin, margin, 2 * margin, margin);
    column->addLayout(fields);

    findLabel = new QLabel(QStringLiteral("Find :"), this);
    findLabel->setObjectName(QStringLiteral("findLabel"));
    findEdit = new QLineEdit(this);
    findEdit->setObjectName(QStringLiteral("findEdit"));
    findEdit->setMinimumWidth(36 * findEdit->fontMetrics().averageCharWidth());
    findLabel->setBuddy(findEdit);
    findEdit->installEventFilter(this);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findEdit, 0, 1, 1, 2);
    matchCaseCheck = new QCheckBox(tr("Match &Case"), this);
    matchCaseCheck->setObjectName(QStringLiteral("matchCaseCheck"));
    wholeCellCheck = new QCheckBox(tr("Match &Whole Cell"), this);
    wholeCellCheck->setObjectName(QStringLiteral("wholeCellCheck"));
    fields->setColumnMinimumWidth(1, 4 * fontMetrics().averageCharWidth());
    fields->addWidget(matchCaseCheck, 1, 2, Qt::AlignLeft);
    fields->addWidget(wholeCellCheck, 2, 2, Qt::AlignLeft);
    fields->setColumnStretch(2, 1);

    setTabOrder(findEdit, matchCaseCheck);
    setTabOrder(matchCaseCheck, wholeCellCheck);
    setTabOrder(wholeCellCheck, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, &FindDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &FindDialog::onCancelClicked);
    // Esc and the close box cancel: no search follows.
    connect(this, &QDialog::rejected, this, [this] { mText.clear(); });
}

void FindDialog::showEvent(QShowEvent* event)
{
    if (!mLoaded) {
        mLoaded = true;
        findEdit->setText(mText);
    }
    QDialog::showEvent(event);
    findEdit->setFocus(Qt::ActiveWindowFocusReason);
    findEdit->selectAll();
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == findEdit && event->type() == QEvent::FocusIn) {
        // Select after the line edit's own focus handling, which may place the caret.
        QTimer::singleShot(0, findEdit, [this] { findEdit->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void FindDialog::onOkClicked()
{
    mText = findEdit->text();
    mMatchCase = matchCaseCheck->isChecked();
    mWholeCell = wholeCellCheck->isChecked();
    accept();
}

void FindDialog::onCancelClicked()
{
    reject();
}
