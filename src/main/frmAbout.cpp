#include "main/frmAbout.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "Version.h"
#include "app/modQuillary.h"
#include "platform/PictureButton.h"
#include "platform/Services.h"

frmAbout::frmAbout(Links& links, QWidget* parent) : QDialog(parent), mLinks(links)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + kProgramTitle);
    setWindowIcon(programIcon());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    // OK is the default button: Enter closes the box.
    const DialogButtonBar bar = makeDialogButtonBar(this, false);
    fraButtons = bar.frame;
    cmdOK = bar.ok;
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(fraButtons);

    // The icon at the left; title and version beside it, the web address below them.
    auto* body = new QHBoxLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    body->setContentsMargins(3 * margin, 2 * margin, 3 * margin, 2 * margin);
    body->setSpacing(2 * margin);
    column->addLayout(body);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    const int side = 3 * fontMetrics().height();
    picIcon->setPixmap(programIcon().pixmap(side, side));
    body->addWidget(picIcon, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    body->addLayout(texts);
    lblTitle = new QLabel(kProgramTitle, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    texts->addWidget(lblTitle);

    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    texts->addWidget(lblVersion);
    texts->addSpacing(fontMetrics().height());

    lblWeb = new QLabel(kMakerWebAddress, this);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    texts->addWidget(lblWeb);
    texts->addStretch(1);
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
