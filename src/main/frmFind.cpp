#include "main/frmFind.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/PictureButton.h"
#include "platform/Twips.h"

frmFind::frmFind(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    setFixedSize(twipsToPixels(6105, this), twipsToPixels(2655, this));

    const DialogButtonBar bar = makeDialogButtonBar(this, 6090, true);
    fraButtons = bar.frame;
    cmdOK = bar.ok;
    cmdCancel = bar.cancel;

    lblFind = new QLabel(QStringLiteral("Find :"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    lblFind->setGeometry(twipsRect(600, 960, 615, 255, this));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setGeometry(twipsRect(1200, 945, 4215, 285, this));
    lblFind->setBuddy(txtFind);
    txtFind->installEventFilter(this);
    chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkCase->setGeometry(twipsRect(1800, 1560, 1455, 255, this));
    chkCell = new QCheckBox(QStringLiteral("Match &Whole Cell"), this);
    chkCell->setObjectName(QStringLiteral("chkCell"));
    chkCell->setGeometry(twipsRect(1800, 1920, 1935, 255, this));
    chkCase->adjustSize();
    chkCell->adjustSize();

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
