// The Settings dialog: what OK writes to the settings file, what Cancel leaves, and its layout.

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>

#include "gui/SettingsDialog.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"

namespace {

// Kept by hand: comments, CRLF, odd spacing, a code with trailing characters, braces, a comma.
const QByteArray kHandWritten = "; Quillary settings, kept by hand\r\n"
                                "[Initialisation]\r\n"
                                "  Auto-Refresh =  Yes\r\n"
                                "Space-Substitution-Char=_\r\n"
                                "\r\n"
                                "[Hot-Keys]\r\n"
                                "1=F2, 113 x,{(}draft{)}_copy\r\n"
                                " 2 = F3,114,{TAB}\r\n"
                                "3=Sig,115,Yours_sincerely,_J.\r\n";

class SettingsDialogTest : public QuillaryTest {
protected:
    void loadHandWritten()
    {
        writeIni(kHandWritten);
        settings().setAutoRefresh(true);
        settings().setSpaceChar("_");
        settings().loadHotKeys();
    }
    Settings& settings() { return session().settings(); }
    QString firstText() { return settings().hotKeys().value(0).text; }
    std::unique_ptr<SettingsDialog> open()
    {
        auto dialog = std::make_unique<SettingsDialog>(settings(), prompts);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }
    // Clicks into the first hot key's text, which selects it whole, types over it, and
    // clicks Auto-Refresh.
    static void edit(SettingsDialog& dialog, const QString& text)
    {
        auto* field = child<QLineEdit>(dialog, "hotKeyEdit0");
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
        QApplication::processEvents();
        ASSERT_EQ(field->selectedText(), field->text());
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        click(child<QCheckBox>(dialog, "autoRefreshCheck"));
    }
};

TEST_F(SettingsDialogTest, CancelChangesNothingAndOkRewritesOnlyTheValues)
{
    loadHandWritten();
    for (bool closeBox : {false, true}) {
        auto dialog = open();
        edit(*dialog, "changed");
        closeBox ? (void)dialog->close() : press(dialog, "cancelButton");
        EXPECT_TRUE(settings().autoRefresh());
        EXPECT_EQ(firstText(), "{(}draft{)} copy");
        EXPECT_EQ(readIni(), kHandWritten);
    }

    auto dialog = open();
    EXPECT_EQ(child<QLineEdit>(dialog, "hotKeyEdit0")->text(), "(draft) copy");
    EXPECT_EQ(child<QLineEdit>(dialog, "hotKeyEdit2")->text(), "Yours sincerely, J.");
    edit(*dialog, "(see note)");
    press(dialog, "okButton");
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(settings().autoRefresh());
    EXPECT_EQ(firstText(), "{(}see note{)}");
    // The code becomes plain digits; texts shown without braces keep them; the rest stays as it was.
    QByteArray expected = kHandWritten;
    expected.replace("=  Yes", "=  No");
    expected.replace("1=F2, 113 x,{(}draft{)}_copy", "1=F2,113,{(}see_note{)}");
    EXPECT_EQ(readIni(), expected);
}

TEST_F(SettingsDialogTest, AFailedOrRefusedWriteLeavesTheFileAsItWasAndTheNewValuesInForce)
{
    // The disk fills up after the first key (Auto-Refresh gets shorter, the hot key longer),
    // and a file its owner may not write.
    for (bool diskFull : {true, false}) {
        loadHandWritten();
        prompts.shown.clear();
        auto dialog = open();
        edit(*dialog, "a much longer text than the one before");
        {
            std::unique_ptr<FileSizeLimit> full;
            if (diskFull)
                full = std::make_unique<FileSizeLimit>(kHandWritten.size());
            else
                QFile::setPermissions(iniFile(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            press(dialog, "okButton");
        }
        EXPECT_EQ(readIni(), kHandWritten);
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.contains("could not be written")) << prompts.shown[0].text.toStdString();
        EXPECT_FALSE(settings().autoRefresh());
        EXPECT_EQ(firstText(), "a much longer text than the one before");
        QFile::setPermissions(iniFile(), QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST_F(SettingsDialogTest, LongCaptionsShowWholeAtALargeFont)
{
    setHotKeys({{"F2", 113, "Dear Sir"}, {"Signature & Closing Line", 115, "Yours"}, {"F12", 123, "x"}});
    LargeFont font;
    auto dialog = open();
    expectLaidOutWhole(dialog.get());
    // The caption is the caption, never shortened; rows not in use take no room.
    EXPECT_EQ(child<QLabel>(dialog, "hotKeyLabel1")->text(), "Signature && Closing Line");
    EXPECT_FALSE(child<QLineEdit>(dialog, "hotKeyEdit3")->isVisible());
    EXPECT_EQ(child<QWidget>(dialog, "hotKeyEdit0")->x(), child<QWidget>(dialog, "hotKeyEdit1")->x());
}

} // namespace
