#include "main/frmAbout.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "Version.h"
#include "app/modQuillary.h"
#include "platform/PictureButton.h"
#include "platform/Services.h"
#include "platform/Twips.h"

frmAbout::frmAbout(Links& links, QWidget* parent) : QDialog(parent), mLinks(links)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + kProgramTitle);
    setWindowIcon(programIcon());
    setFixedSize(twipsToPixels(4665, this), twipsToPixels(2610, this));

    // OK is the default button: Enter closes the box.
    const DialogButtonBar bar = makeDialogButtonBar(this, 4650, false);
    fraButtons = bar.frame;
    cmdOK = bar.ok;
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    const int side = twipsToPixels(720, this);
    picIcon->setPixmap(programIcon().pixmap(side, side));
    picIcon->setGeometry(twipsRect(480, 960, 720, 720, this));

    lblTitle = new QLabel(kProgramTitle, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    lblTitle->setGeometry(twipsRect(1560, 960, 2205, 240, this));

    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(twipsRect(1560, 1320, 2085, 225, this));

    lblWeb = new QLabel(kMakerWebAddress, this);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    lblWeb->setGeometry(twipsRect(1560, 2040, 2985, 255, this));
    QFont link = lblWeb->font();
    link.setUnderline(true);
    lblWeb->setFont(link);
    QPalette palette = lblWeb->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    lblWeb->setPalette(palette);
    lblWeb->setCursor(Qt::PointingHandCursor);
    // Keyboard users reach the address too: it takes the focus and opens on Space.
    lblWeb->setFocusPolicy(Qt::StrongFocus);
    lblWeb->setAccessibleName(QStringLiteral("Web site ") + kMakerWebAddress);
    lblWeb->installEventFilter(this);

    cmdOK->setFocus();
}

QString frmAbout::versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(QUILLARY_VERSION_MAJOR).arg(QUILLARY_VERSION_MINOR).arg(QUILLARY_VERSION_PATCH);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWeb) {
        const bool click = event->type() == QEvent::MouseButtonRelease;
        const bool key = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
        if (click || key) {
            // What the desktop makes of the address is its own business: nothing is shown.
            mLinks.open(kMakerWebAddress);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
