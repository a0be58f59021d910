#include "main/frmFind.h"

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

#include "platform/PictureButton.h"

frmFind::frmFind(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    // The dialog is as large as its contents need, at any font.
    column->setSizeConstraint(QLayout::SetFixedSize);
    const DialogButtonBar bar = makeDialogButtonBar(this, true);
    fraButtons = bar.frame;
    cmdOK = bar.ok;
    cmdCancel = bar.cancel;
    column->addWidget(fraButtons);

    // The caption left of the field, the two options below the field, slightly indented.
    auto* fields = new QGridLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    fields->setContentsMargins(2 * margin, margin, 2 * margin, margin);
    column->addLayout(fields);

    lblFind = new QLabel(QStringLiteral("Find :"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setMinimumWidth(36 * txtFind->fontMetrics().averageCharWidth());
    lblFind->setBuddy(txtFind);
    txtFind->installEventFilter(this);
    fields->addWidget(lblFind, 0, 0);
    fields->addWidget(txtFind, 0, 1, 1, 2);
    chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkCell = new QCheckBox(QStringLiteral("Match &Whole Cell"), this);
    chkCell->setObjectName(QStringLiteral("chkCell"));
    fields->setColumnMinimumWidth(1, 4 * fontMetrics().averageCharWidth());
    fields->addWidget(chkCase, 1, 2, Qt::AlignLeft);
    fields->addWidget(chkCell, 2, 2, Qt::AlignLeft);
    fields->setColumnStretch(2, 1);

    setTabOrder(txtFind, chkCase);
    setTabOrder(chkCase, chkCell);
    setTabOrder(chkCell, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmFind::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFind::cmdCancel_Click);
    // Esc and the close box cancel: no search follows.
    connect(this, &QDialog::rejected, this, [this] { mText.clear(); });
}

void frmFind::showEvent(QShowEvent* event)
{
    if (!mLoaded) {
        mLoaded = true;
        txtFind->setText(mText);
    }
    QDialog::showEvent(event);
    txtFind->setFocus(Qt::ActiveWindowFocusReason);
    txtFind->selectAll();
}

bool frmFind::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFind && event->type() == QEvent::FocusIn) {
        // Select after the line edit's own focus handling, which may place the caret.
        QTimer::singleShot(0, txtFind, [this] { txtFind->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmFind::cmdOK_Click()
{
    mText = txtFind->text();
    mMatchCase = chkCase->isChecked();
    mWholeCell = chkCell->isChecked();
    accept();
}

void frmFind::cmdCancel_Click()
{
    reject();
}
