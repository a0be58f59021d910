// The settings helpers and the start-up reading of the settings file.

#include "core/Conversions.h"
#include "core/Listing.h"
#include "core/Settings.h"
#include "support/CoreTestEnv.h"

using SettingsTest = CoreTest;

TEST(Conversions, NumbersRoundingAndStoredText)
{
    EXPECT_EQ(leadingNumber(QStringLiteral(" 113x")), 113);
    EXPECT_EQ(leadingNumber(QStringLiteral("2.5")), 2.5);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(1e30), INT_MAX);
    // A leading U+FEFF in stored text is part of it, not a byte-order mark.
    const QString text = QString(QChar(0xFEFF)) + QStringLiteral("Ode");
    EXPECT_EQ(textFromUtf8(text.toUtf8()), text);
}

TEST_F(SettingsTest, ValuesAreReadWholeAndWritten)
{
    Settings& settings = session().settings();
    EXPECT_EQ(cleanIniValue(QStringLiteral("  x y  ")), QStringLiteral("x y"));
    EXPECT_EQ(cleanIniValue(QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd")), QStringLiteral("ab"));
    EXPECT_EQ(settings.value(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));

    const QByteArray longValue(150, 'x');
    writeIni("[S]\r\nlong=" + longValue + "\r\nempty=\r\n");
    EXPECT_EQ(settings.value(QStringLiteral("S"), QStringLiteral("long")), QString::fromLatin1(longValue));
    // Present but empty is empty, not the default.
    EXPECT_EQ(settings.value(QStringLiteral("s"), QStringLiteral("EMPTY"), QStringLiteral("d")), QString());
    QString error;
    EXPECT_TRUE(settings.write({{QStringLiteral("S"), QStringLiteral("empty"), QStringLiteral("2")}}, &error));
    EXPECT_EQ(readIni(), "[S]\r\nlong=" + longValue + "\r\nempty=2\r\n");
}

TEST_F(SettingsTest, StartupSettingsAndTheirGuards)
{
    Settings& settings = session().settings();
    writeIni("[Initialisation]\r\nMode=Publisher\r\nCurrency=jpy\r\nSpace-Substitution-Char=#\r\n[Hot-Keys]\r\n1=F2,113,Dear#Sir\r\n");
    EXPECT_TRUE(settings.load().isEmpty());
    EXPECT_TRUE(settings.autoRefresh());  // missing key: Yes
    EXPECT_EQ(settings.startView(), View::Publisher);
    EXPECT_EQ(settings.currency().code(), QStringLiteral("JPY"));
    EXPECT_EQ(settings.hotKeys().value(0).text, QStringLiteral("Dear Sir"));  // read with that space character

    // Lower-case yes is not Yes; a blank or long space character and an unknown view are reported.
    writeIni("[Initialisation]\r\nAuto-Refresh=yes\r\nMode=Poems\r\nCurrency=Pounds\r\nSpace-Substitution-Char=\" \"\r\n");
    const QStringList warnings = settings.load();
    EXPECT_FALSE(settings.autoRefresh());
    EXPECT_EQ(settings.startView(), View::Work);
    EXPECT_EQ(settings.spaceChar(), QStringLiteral("_"));
    EXPECT_EQ(warnings.size(), 3);
    EXPECT_TRUE(warnings.join(QLatin1Char('\n')).contains(QStringLiteral("Poems")));
    EXPECT_EQ(settings.currency().code(), Currency().code());
    writeIni("[Initialisation]\r\nAuto-Refresh=Yes\r\nSpace-Substitution-Char=__\r\n");
    EXPECT_EQ(settings.load().size(), 1);
    EXPECT_TRUE(settings.autoRefresh() && settings.spaceChar() == QStringLiteral("_"));
}

TEST_F(SettingsTest, ALoadReadsTheFileOnce)
{
    // 20,000 selections, with a later duplicate section and key that must not win, and the
    // hot keys and start-up values beside them.
    const int kSelections = 20000;
    QByteArray ini = "\xEF\xBB\xBF; saved selections\r\n[Initialisation]\r\nMode=Submission\r\n[Work-SQL]\r\n";
    for (int i = 1; i <= kSelections; ++i) {
        const QByteArray n = QByteArray::number(i);
        ini += n + " = \"Caption " + n + ",ID > " + n + "\"\r\n";
    }
    ini += "1=Duplicate,ID = 0\r\nDEFAULT=2\r\n[Hot-Keys]\r\n1=F2,113,Dear_Sir\r\n[work-sql]\r\n20001=Late,ID = 0\r\n";
    writeIni(ini);
    Settings& settings = session().settings();

    const int before = settings.fileReads();
    const SelectionSection section = readSelectionSection(settings, View::Work);
    EXPECT_EQ(settings.fileReads(), before + 1);
    ASSERT_EQ(section.selections.size(), kSelections);
    EXPECT_EQ(section.defaultIndex, 1);
    EXPECT_EQ(section.selections[0].caption + section.selections[kSelections - 1].condition,
              QStringLiteral("Caption 1ID > 20000"));

    EXPECT_TRUE(settings.load().isEmpty());
    EXPECT_EQ(settings.fileReads(), before + 2);
    EXPECT_TRUE(settings.startView() == View::Submission && settings.hotKeys().size() == 1);

    // Outside a load each value is read as the file is now.
    writeIni("[Initialisation]\r\nMode=Publisher\r\n");
    EXPECT_EQ(settings.value(QStringLiteral("initialisation"), QStringLiteral("mode")), QStringLiteral("Publisher"));
}
