// The Settings dialog, driven through its widgets, against real settings files.

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "app/modQuillary.h"
#include "hotkeys/HotKeys.h"
#include "hotkeys/frmSettings.h"
#include "support/TestEnv.h"

namespace {

// A settings file as a writer keeps it by hand: comments, CRLF, odd spacing, a key code
// with trailing characters, a text in braces the dialog cannot show, a comma in a text.
const QByteArray kHandWritten =
    "; Quillary settings, kept by hand\r\n"
    "[Initialisation]\r\n"
    "  Auto-Refresh =  Yes\r\n"
    "Space-Substitution-Char=_\r\n"
    "\r\n"
    "[Hot-Keys]\r\n"
    "; F2 to F4\r\n"
    "1=F2, 113 x,{(}draft{)}_copy\r\n"
    " 2 = F3,114,{TAB}\r\n"
    "3=Sig,115,Yours_sincerely,_J.\r\n"
    "\r\n"
    "[Work-SQL]\r\n"
    "1=All Works,\r\n"
    "Default=1\r\n";

class SettingsDialogTest : public QuillaryTest {
protected:
    void loadHandWritten()
    {
        writeIni(kHandWritten);
        gAutoRefresh = true;
        gSpaceChar = QStringLiteral("_");
        LoadHotKeys();
        ASSERT_EQ(gHotKeyCount, 3);
    }

    std::unique_ptr<frmSettings> open()
    {
        auto dialog = std::make_unique<frmSettings>();
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    // Clicks into a text box and waits for its text to be selected, so typing replaces it.
    static void replaceText(QLineEdit* edit, const QString& text)
    {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(3, edit->height() / 2));
        QApplication::processEvents();
        ASSERT_TRUE(edit->hasFocus());
        ASSERT_EQ(edit->selectedText(), edit->text());
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
        ASSERT_EQ(edit->text(), text);
    }
};

TEST_F(SettingsDialogTest, ShowsOneRowPerHotKeyWithFocusOnRefresh)
{
    loadHandWritten();
    gAutoRefresh = false;
    auto dialog = open();

    EXPECT_EQ(dialog->windowTitle(), "Settings");
    EXPECT_EQ(dialog->frmHotKeys->title(), "Hot Keys");
    EXPECT_FALSE(dialog->chkRefresh->isChecked());
    EXPECT_TRUE(dialog->chkRefresh->hasFocus());
    EXPECT_EQ(dialog->cmdOK->toolTip(), "OK");
    EXPECT_TRUE(dialog->cmdOK->isDefault());
    EXPECT_EQ(dialog->cmdCancel->toolTip(), "Cancel");

    const QStringList captions{"F2", "F3", "Sig"};
    const QStringList texts{"(draft) copy", "TAB", "Yours sincerely, J."};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(dialog->lblHK[i]->isVisible());
        EXPECT_TRUE(dialog->lblEq[i]->isVisible());
        EXPECT_TRUE(dialog->txtHK[i]->isVisible());
        EXPECT_EQ(dialog->lblHK[i]->text(), captions[i]);
        EXPECT_EQ(dialog->lblEq[i]->text(), "=");
        EXPECT_EQ(dialog->txtHK[i]->text(), texts[i]);
        EXPECT_EQ(dialog->txtHK[i]->accessibleName(), captions[i]);
        EXPECT_EQ(dialog->lblHK[i]->buddy(), dialog->txtHK[i]);
        // A short caption shows whole between the frame's edge and the "=".
        EXPECT_LE(dialog->lblHK[i]->fontMetrics().horizontalAdvance(captions[i]), dialog->lblHK[i]->width());
        EXPECT_LE(dialog->lblHK[i]->geometry().right(), dialog->lblEq[i]->geometry().left());
    }
    for (int i = 3; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(dialog->lblHK[i]->isVisible());
        EXPECT_FALSE(dialog->lblEq[i]->isVisible());
        EXPECT_FALSE(dialog->txtHK[i]->isVisible());
    }

    // Tab moves through the visible rows to the buttons; arriving in a row selects its text.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(dialog->txtHK[0]->hasFocus());
    EXPECT_EQ(dialog->txtHK[0]->selectedText(), "(draft) copy");
    QTest::keyClick(dialog->txtHK[0], Qt::Key_Tab);
    QTest::keyClick(dialog->txtHK[1], Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(dialog->txtHK[2]->hasFocus());
    EXPECT_EQ(dialog->txtHK[2]->selectedText(), "Yours sincerely, J.");
    QTest::keyClick(dialog->txtHK[2], Qt::Key_Tab);
    EXPECT_TRUE(dialog->cmdOK->hasFocus());
    QTest::keyClick(dialog->cmdOK, Qt::Key_Tab);
    EXPECT_TRUE(dialog->cmdCancel->hasFocus());

    // A click in the middle of a text still selects the whole of it.
    QTest::mouseClick(dialog->txtHK[1], Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(dialog->txtHK[1]->hasFocus());
    EXPECT_EQ(dialog->txtHK[1]->selectedText(), "TAB");
}

TEST_F(SettingsDialogTest, LongCaptionIsShortenedButNamedInFull)
{
    gHotKeyCount = 1;
    gHotKeyCaptions = {"Signature & date"};
    gHotKeyCodes = {113};
    gHotKeyTexts = {"x"};
    auto dialog = open();

    QLabel* label = dialog->lblHK[0];
    EXPECT_TRUE(label->text().startsWith("S")) << label->text().toStdString();
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << label->text().toStdString();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_EQ(label->toolTip(), "Signature & date");
    EXPECT_EQ(dialog->txtHK[0]->accessibleName(), "Signature & date");
}

TEST_F(SettingsDialogTest, OkWithoutEditsRewritesTheSameEntries)
{
    loadHandWritten();
    const QStringList before = gHotKeyTexts;
    auto dialog = open();
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(gAutoRefresh);
    EXPECT_EQ(gHotKeyTexts, before);
    // Only the values change: the code becomes plain digits, the spacing after "=" goes
    // with the old value, and texts the dialog shows without braces keep them.
    const QByteArray expected =
        "; Quillary settings, kept by hand\r\n"
        "[Initialisation]\r\n"
        "  Auto-Refresh =Yes\r\n"
        "Space-Substitution-Char=_\r\n"
        "\r\n"
        "[Hot-Keys]\r\n"
        "; F2 to F4\r\n"
        "1=F2,113,{(}draft{)}_copy\r\n"
        " 2 =F3,114,{TAB}\r\n"
        "3=Sig,115,Yours_sincerely,_J.\r\n"
        "\r\n"
        "[Work-SQL]\r\n"
        "1=All Works,\r\n"
        "Default=1\r\n";
    EXPECT_EQ(readIni(), expected);
}

TEST_F(SettingsDialogTest, OkWritesEditedTextsAndRefreshAndReopeningShowsThem)
{
    loadHandWritten();
    auto dialog = open();
    replaceText(dialog->txtHK[0], "(see note)");
    replaceText(dialog->txtHK[2], "");
    ASSERT_TRUE(dialog->chkRefresh->isChecked());
    QTest::mouseClick(dialog->chkRefresh, Qt::LeftButton);
    ASSERT_FALSE(dialog->chkRefresh->isChecked());
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(gAutoRefresh);
    EXPECT_EQ(gHotKeyTexts, QStringList({"{(}see note{)}", "{TAB}", ""}));
    QByteArray expected = kHandWritten;
    expected.replace("  Auto-Refresh =  Yes", "  Auto-Refresh =No");
    expected.replace("1=F2, 113 x,{(}draft{)}_copy", "1=F2,113,{(}see_note{)}");
    expected.replace(" 2 = F3,114,{TAB}", " 2 =F3,114,{TAB}");
    expected.replace("3=Sig,115,Yours_sincerely,_J.", "3=Sig,115,");
    EXPECT_EQ(readIni(), expected);

    // The next start still finds three hot keys, the cleared one typing nothing.
    LoadHotKeys();
    ASSERT_EQ(gHotKeyCount, 3);
    EXPECT_EQ(gHotKeyCaptions, QStringList({"F2", "F3", "Sig"}));
    EXPECT_EQ(gHotKeyCodes, QVector<int>({113, 114, 115}));
    EXPECT_EQ(gHotKeyTexts, QStringList({"{(}see note{)}", "{TAB}", ""}));

    dialog.reset();
    auto again = open();
    EXPECT_FALSE(again->chkRefresh->isChecked());
    EXPECT_EQ(again->txtHK[0]->text(), "(see note)");
    EXPECT_EQ(again->txtHK[1]->text(), "TAB");
    EXPECT_EQ(again->txtHK[2]->text(), "");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SettingsDialogTest, CancelEscapeAndCloseBoxChangeNothing)
{
    loadHandWritten();
    const QStringList texts = gHotKeyTexts;
    const QVector<std::function<void(frmSettings*)>> ways{
        [](frmSettings* d) { QTest::mouseClick(d->cmdCancel, Qt::LeftButton); },
        [](frmSettings* d) { QTest::keyClick(d->txtHK[1], Qt::Key_Escape); },
        [](frmSettings* d) { d->close(); },
    };
    for (int way = 0; way < ways.size(); ++way) {
        SCOPED_TRACE(way);
        auto dialog = open();
        replaceText(dialog->txtHK[0], "changed");
        replaceText(dialog->txtHK[1], "(other)");
        QTest::mouseClick(dialog->chkRefresh, Qt::LeftButton);
        ASSERT_FALSE(dialog->chkRefresh->isChecked());
        ways[way](dialog.get());

        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_TRUE(gAutoRefresh);
        EXPECT_EQ(gHotKeyTexts, texts);
        EXPECT_EQ(readIni(), kHandWritten);
    }
}

TEST_F(SettingsDialogTest, WithoutHotKeysOnlyRefreshIsWritten)
{
    gAutoRefresh = true;
    auto dialog = open();
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(dialog->txtHK[i]->isVisible());
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    EXPECT_EQ(readIni(), QByteArray("[Initialisation]\r\nAuto-Refresh=Yes\r\n"));
}

TEST_F(SettingsDialogTest, UnwritableFileIsReportedOnceAndNewValuesStayInForce)
{
    QFile blocker(path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    gIniFile = path("blocker/QUILLARY.INI");
    gAutoRefresh = true;
    gSpaceChar = QStringLiteral("_");
    gHotKeyCount = 2;
    gHotKeyCaptions = {"F2", "F3"};
    gHotKeyCodes = {113, 114};
    gHotKeyTexts = {"old", "{+}"};

    auto dialog = open();
    replaceText(dialog->txtHK[0], "new (text)");
    QTest::mouseClick(dialog->chkRefresh, Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);

    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be written")) << prompts.shown[0].text.toStdString();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(gAutoRefresh);
    EXPECT_EQ(gHotKeyTexts, QStringList({"new {(}text{)}", "{+}"}));
    EXPECT_FALSE(QFile::exists(gIniFile));
}

} // namespace
