// The Settings dialog, driven through its widgets, against real settings files.

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "hotkeys/HotKeys.h"
#include "hotkeys/frmSettings.h"
#include "support/EditorTestKit.h"
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

    // Clicks into a text box, which selects its whole text, and types over it.
    static void retype(QLineEdit* edit, const QString& text)
    {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(3, edit->height() / 2));
        QApplication::processEvents();
        ASSERT_EQ(edit->selectedText(), edit->text());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        ASSERT_EQ(edit->text(), text);
    }
};

TEST_F(SettingsDialogTest, OkWithoutEditsRewritesOnlyTheValues)
{
    loadHandWritten();
    const QStringList before = gHotKeyTexts;
    auto dialog = open();
    EXPECT_TRUE(dialog->chkRefresh->isChecked());
    QStringList shown;
    for (QLineEdit* edit : dialog->txtHK)
        shown << (edit->isVisible() ? edit->text() : "-");
    EXPECT_EQ(shown, QStringList({"(draft) copy", "TAB", "Yours sincerely, J.", "-", "-"}));
    EXPECT_EQ(dialog->lblHK[2]->text(), "Sig");

    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(gHotKeyTexts, before);
    // The code becomes plain digits, the spacing after "=" goes with the old value, and
    // texts the dialog shows without braces keep them.
    QByteArray expected = kHandWritten;
    expected.replace("=  Yes", "=Yes").replace("1=F2, 113 x,", "1=F2,113,").replace("= F3", "=F3");
    EXPECT_EQ(readIni(), expected);
}

TEST_F(SettingsDialogTest, OkWritesEditsAndReopeningShowsThem)
{
    loadHandWritten();
    auto dialog = open();
    retype(dialog->txtHK[0], "(see note)");
    retype(dialog->txtHK[2], "");
    QTest::mouseClick(dialog->chkRefresh, Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);

    EXPECT_FALSE(gAutoRefresh);
    EXPECT_EQ(gHotKeyTexts, QStringList({"{(}see note{)}", "{TAB}", ""}));
    QByteArray expected = kHandWritten;
    expected.replace("=  Yes", "=No").replace("= F3", "=F3");
    expected.replace("1=F2, 113 x,{(}draft{)}_copy", "1=F2,113,{(}see_note{)}");
    expected.replace("3=Sig,115,Yours_sincerely,_J.", "3=Sig,115,");
    EXPECT_EQ(readIni(), expected);

    LoadHotKeys(); // the next start
    EXPECT_EQ(gHotKeyTexts, QStringList({"{(}see note{)}", "{TAB}", ""}));
    dialog.reset();
    auto again = open();
    EXPECT_FALSE(again->chkRefresh->isChecked());
    EXPECT_EQ(again->txtHK[0]->text(), "(see note)");
    EXPECT_EQ(again->txtHK[2]->text(), "");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SettingsDialogTest, CancelEscapeAndCloseBoxChangeNothing)
{
    loadHandWritten();
    const QStringList texts = gHotKeyTexts;
    const std::function<void(frmSettings*)> ways[]{
        [](frmSettings* d) { QTest::mouseClick(d->cmdCancel, Qt::LeftButton); },
        [](frmSettings* d) { QTest::keyClick(d->txtHK[1], Qt::Key_Escape); },
        [](frmSettings* d) { d->close(); },
    };
    for (const auto& way : ways) {
        auto dialog = open();
        retype(dialog->txtHK[0], "changed");
        QTest::mouseClick(dialog->chkRefresh, Qt::LeftButton);
        way(dialog.get());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(gAutoRefresh);
        EXPECT_EQ(gHotKeyTexts, texts);
        EXPECT_EQ(readIni(), kHandWritten);
    }
}

TEST_F(SettingsDialogTest, WithoutHotKeysOnlyRefreshIsWritten)
{
    gAutoRefresh = true;
    auto dialog = open();
    EXPECT_FALSE(dialog->txtHK[0]->isVisible());
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    EXPECT_EQ(readIni(), QByteArray("[Initialisation]\r\nAuto-Refresh=Yes\r\n"));
}

TEST_F(SettingsDialogTest, UnwritableFileIsReportedAndNewValuesStayInForce)
{
    writeIni("[Initialisation]\r\n"); // a file where the settings file's folder should be
    gIniFile = path("QUILLARY.INI/QUILLARY.INI");
    gAutoRefresh = true;
    gSpaceChar = QStringLiteral("_");
    setHotKeys({{"F2", 113, "old"}, {"F3", 114, "{+}"}});

    auto dialog = open();
    retype(dialog->txtHK[0], "new (text)");
    QTest::mouseClick(dialog->chkRefresh, Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);

    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be written")) << prompts.shown[0].text.toStdString();
    EXPECT_FALSE(gAutoRefresh);
    EXPECT_EQ(gHotKeyTexts, QStringList({"new {(}text{)}", "{+}"}));
    EXPECT_FALSE(QFile::exists(gIniFile));
}

} // namespace
