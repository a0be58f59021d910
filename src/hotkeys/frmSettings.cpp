#include "hotkeys/frmSettings.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/Settings.h"
#include "platform/Services.h"
#include "core/HotKeyText.h"
#include "platform/PictureButton.h"
#include "platform/Twips.h"

namespace {

constexpr int kLabelTops[5] = {360, 750, 1110, 1470, 1830};
constexpr int kCaptionLeft = 240;
constexpr int kEqualsLeft = 600;

} // namespace

frmSettings::frmSettings(Settings& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), mSettings(settings), mPrompts(prompts)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    const int clientWidth = twipsToPixels(5400, this);
    setFixedSize(clientWidth, twipsToPixels(4005, this));

    const DialogButtonBar bar = makeDialogButtonBar(this, 5370, true);
    fraButtons = bar.frame;
    cmdOK = bar.ok;
    cmdCancel = bar.cancel;

    chkRefresh = new QCheckBox(QStringLiteral("&Refresh Display after New/Amend/Delete"), this);
    chkRefresh->setObjectName(QStringLiteral("chkRefresh"));
    QRect refresh = twipsRect(480, 840, 4215, 255, this);
    // A larger font must not cut the caption short while there is room in the dialog.
    refresh.setWidth(std::max(refresh.width(), std::min(chkRefresh->sizeHint().width(), clientWidth - refresh.left())));
    refresh.setHeight(std::max(refresh.height(), chkRefresh->sizeHint().height()));
    chkRefresh->setGeometry(refresh);

    frmHotKeys = new QGroupBox(QStringLiteral("Hot Keys"), this);
    frmHotKeys->setObjectName(QStringLiteral("frmHotKeys"));
    frmHotKeys->setGeometry(twipsRect(240, 1320, 4935, 2295, this));

    for (int i = 0; i < 5; ++i) {
        const int top = kLabelTops[i];
        // The caption may use the room up to the "=" so that captions such as F12 show whole.
        lblHK[i] = new QLabel(frmHotKeys);
        lblHK[i]->setObjectName(QStringLiteral("lblHK%1").arg(i));
        lblHK[i]->setGeometry(twipsRect(kCaptionLeft, top, kEqualsLeft - kCaptionLeft, 255, this));
        lblHK[i]->hide();

        lblEq[i] = new QLabel(QStringLiteral("="), frmHotKeys);
        lblEq[i]->setObjectName(QStringLiteral("lblEq%1").arg(i));
        lblEq[i]->setGeometry(twipsRect(kEqualsLeft, top, 135, 255, this));
        lblEq[i]->hide();

        txtHK[i] = new QLineEdit(frmHotKeys);
        txtHK[i]->setObjectName(QStringLiteral("txtHK%1").arg(i));
        txtHK[i]->setGeometry(twipsRect(915, top - 30, 3780, 285, this));
        txtHK[i]->hide();
        txtHK[i]->installEventFilter(this);
        lblHK[i]->setBuddy(txtHK[i]);
    }

    setTabOrder(chkRefresh, txtHK[0]);
    for (int i = 1; i < 5; ++i)
        setTabOrder(txtHK[i - 1], txtHK[i]);
    setTabOrder(txtHK[4], cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSettings::cmdCancel_Click);

    LoadSettings();
    chkRefresh->setFocus(Qt::OtherFocusReason);
}

// Each showing is a new dialog, so it always shows the values in force.
void frmSettings::LoadSettings()
{
    chkRefresh->setChecked(mSettings.autoRefresh());

    const QVector<HotKeyEntry>& hotKeys = mSettings.hotKeys();
    mRows = int(std::min<qsizetype>(hotKeys.size(), 5));
    for (int i = 0; i < mRows; ++i) {
        const QString& caption = hotKeys[i].caption;
        // Measure with the font the label will really paint with.
        lblHK[i]->ensurePolished();
        const QString shown = lblHK[i]->fontMetrics().elidedText(caption, Qt::ElideRight, lblHK[i]->width());
        // '&' in a caption is shown as written, not taken as an access key.
        QString labelText = shown;
        labelText.replace(QLatin1Char('&'), QStringLiteral("&&"));
        lblHK[i]->setText(labelText);
        lblHK[i]->setToolTip(shown == caption ? QString() : caption);
        txtHK[i]->setAccessibleName(caption);

        mShownText[i] = KeysToText(hotKeys[i].text);
        txtHK[i]->setText(mShownText[i]);

        lblHK[i]->show();
        lblEq[i]->show();
        txtHK[i]->show();
    }
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (QLineEdit* text : txtHK) {
            if (watched != text)
                continue;
            // Selected after the line edit's own focus and mouse handling, which would
            // otherwise place the caret where it was clicked; typing then replaces the text.
            QTimer::singleShot(0, text, [text] {
                if (text->hasFocus())
                    text->selectAll();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSettings::cmdOK_Click()
{
    mSettings.setAutoRefresh(chkRefresh->isChecked());

    QVector<profile::Setting> settings{{QStringLiteral("Initialisation"), QStringLiteral("Auto-Refresh"),
                                        mSettings.autoRefresh() ? QStringLiteral("Yes") : QStringLiteral("No")}};
    QVector<HotKeyEntry> hotKeys = mSettings.hotKeys();
    for (int i = 0; i < mRows; ++i) {
        // A text left as shown keeps its stored form: braces that name keys or quote
        // characters other than parentheses are not visible here and would be lost.
        if (txtHK[i]->text() != mShownText[i])
            hotKeys[i].text = TextToKeys(txtHK[i]->text());
        settings.push_back({QStringLiteral("Hot-Keys"), QString::number(i + 1),
                            ComposeHotKeyEntry(hotKeys[i].caption, hotKeys[i].code, hotKeys[i].text,
                                               mSettings.spaceChar())});
    }
    mSettings.setHotKeys(hotKeys);

    // One rewrite, so a failure leaves none of the keys half-written. The new values stay
    // in force for this run even when the file cannot be written; the failure is reported.
    QString error;
    if (!mSettings.write(settings, &error)) {
        mPrompts.message(this, QStringLiteral("The settings file %1 could not be written: %2").arg(mSettings.file(), error),
                         Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
    accept();
}

void frmSettings::cmdCancel_Click()
{
    reject();
}
