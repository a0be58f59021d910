#include "gui/AboutDialog.h"

#include <QBoxLayout>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "core/Version.h"
#include "gui/StatusMessage.h"
#include "gui/PictureButton.h"
#include "gui/Prompts.h"

AboutDialog::AboutDialog(Links& links, QWidget* parent, const QString& settingsFile, const QString& databaseFile,
                         const QString& webAddress)
    : QDialog(parent), mLinks(links), mWebAddress(webAddress)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("About ") + kProgramTitle);
    setWindowIcon(programIcon());

    // OK is the default button: Enter closes the box.
    const DialogFrame frame = makeDialogFrame(this, false);
    QVBoxLayout* column = frame.column;
    buttonBar = frame.bar.frame;
    okButton = frame.bar.ok;
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    // The icon at the left; title, version and licence beside it, the web address and the files
    // below them.
    auto* body = new QHBoxLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    body->setContentsMargins(3 * margin, 2 * margin, 3 * margin, 2 * margin);
    body->setSpacing(2 * margin);
    column->addLayout(body);

    iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("iconLabel"));
    const int side = 3 * fontMetrics().height();
    iconLabel->setPixmap(programIcon().pixmap(side, side));
    body->addWidget(iconLabel, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    body->addLayout(texts);
    titleLabel = new QLabel(kProgramTitle, this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    texts->addWidget(titleLabel);

    versionLabel = new QLabel(versionText(), this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    texts->addWidget(versionLabel);
    texts->addSpacing(fontMetrics().height());

    licenceLabel = new QLabel(tr("Free software under the GNU General Public License, version 3 or later"), this);
    licenceLabel->setObjectName(QStringLiteral("licenceLabel"));
    licenceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(licenceLabel);

    if (!mWebAddress.isEmpty()) {
        webLabel = new QLabel(mWebAddress, this);
        webLabel->setObjectName(QStringLiteral("webLabel"));
        texts->addWidget(webLabel);
        QFont link = webLabel->font();
        link.setUnderline(true);
        webLabel->setFont(link);
        QPalette palette = webLabel->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
        webLabel->setPalette(palette);
        webLabel->setCursor(Qt::PointingHandCursor);
        // Keyboard users reach the address too: it takes the focus and opens on Space.
        webLabel->setFocusPolicy(Qt::StrongFocus);
        webLabel->setAccessibleName(tr("Web site %1").arg(mWebAddress));
        webLabel->installEventFilter(this);
    }

    // The files in use, so that the writer knows what to back up; a long path loses its
    // middle on screen, the whole one is in the tooltip.
    auto fileLabel = [this, texts](const char* name, const QString& caption, const QString& path) {
        if (path.isEmpty())
            return static_cast<QLabel*>(nullptr);
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        const QString full = caption + QDir::toNativeSeparators(path);
        const int room = 60 * label->fontMetrics().averageCharWidth();
        label->setText(label->fontMetrics().elidedText(full, Qt::ElideMiddle, room));
        label->setToolTip(full);
        label->setAccessibleName(full);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        texts->addWidget(label);
        return label;
    };
    settingsFileLabel = fileLabel("settingsFileLabel", tr("Settings: "), settingsFile);
    databaseFileLabel = fileLabel("databaseFileLabel", tr("Database: "), databaseFile);

    texts->addStretch(1);
    okButton->setFocus();
}

QString AboutDialog::versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(QUILLARY_VERSION_MAJOR).arg(QUILLARY_VERSION_MINOR).arg(QUILLARY_VERSION_PATCH);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (webLabel && watched == webLabel) {
        const bool click = event->type() == QEvent::MouseButtonRelease;
        const bool key = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
        if (click || key) {
            // What the desktop makes of the address is its own business: nothing is shown.
            mLinks.open(mWebAddress);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
