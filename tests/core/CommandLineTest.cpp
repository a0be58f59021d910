// The command line: what each option asks for, paths taken from the working folder, and
// the mistakes that are refused with a message.

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "core/CommandLine.h"
#include "support/CoreTestEnv.h"

class CommandLineTest : public CoreTest {
protected:
    CommandLine parse(QStringList arguments)
    {
        arguments.prepend(QStringLiteral("quillary"));
        return parseCommandLine(arguments, mDir.path());
    }
};

TEST_F(CommandLineTest, HelpVersionAndNoOptions)
{
    for (const char* option : {"--help", "-h"}) {
        const CommandLine c = parse({QString::fromLatin1(option)});
        EXPECT_EQ(c.action, CommandLine::Action::ShowHelp);
        for (const char* name : {"--config", "--database", "--backup", "--version", "Usage: quillary"})
            EXPECT_TRUE(c.text.contains(QLatin1String(name))) << name;
        // The benchmark's option is no concern of the user's.
        EXPECT_FALSE(c.text.contains(QLatin1String("exit-after")));
    }
    for (const char* option : {"--version", "-v"}) {
        const CommandLine c = parse({QString::fromLatin1(option)});
        EXPECT_EQ(c.action, CommandLine::Action::ShowVersion);
        EXPECT_EQ(c.text, versionLine() + QLatin1Char('\n'));
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Quillary \\d+\\.\\d+\\.\\d+$")).match(versionLine()).hasMatch());

    // No options: the window, with the files the rule finds.
    const CommandLine c = parse({});
    EXPECT_EQ(c.action, CommandLine::Action::RunWindow);
    EXPECT_TRUE(c.settingsFile.isEmpty() && c.database.isEmpty() && c.backupTarget.isEmpty());
    EXPECT_FALSE(c.exitAfterFirstFill);
    const CommandLine timed = parse({QStringLiteral("--exit-after-first-fill")});
    EXPECT_EQ(timed.action, CommandLine::Action::RunWindow);
    EXPECT_TRUE(timed.exitAfterFirstFill);
    // The toolkit's own options are passed over, not refused.
    EXPECT_EQ(parse({QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("-reverse")}).action,
              CommandLine::Action::RunWindow);
}

TEST_F(CommandLineTest, FilesAreTakenFromTheWorkingFolder)
{
    writeIni("[Initialisation]\r\n");
    const CommandLine c = parse({QStringLiteral("--config"), QStringLiteral("QUILLARY.INI"),
                                 QStringLiteral("--database=sub/../new.mdb")});
    EXPECT_EQ(c.action, CommandLine::Action::RunWindow);
    EXPECT_EQ(c.settingsFile, iniFile());
    // A database that is not there yet is the window's to offer to create.
    EXPECT_EQ(c.database, path(QStringLiteral("new.mdb")));

    createDatabase();
    const CommandLine b = parse({QStringLiteral("--database"), QStringLiteral("Quillary.mdb"),
                                 QStringLiteral("--backup"), QStringLiteral("copy.mdb")});
    EXPECT_EQ(b.action, CommandLine::Action::Backup);
    EXPECT_EQ(b.database, path(QStringLiteral("Quillary.mdb")));
    EXPECT_EQ(b.backupTarget, path(QStringLiteral("copy.mdb")));
}

TEST_F(CommandLineTest, MistakesAreRefusedWithAMessage)
{
    struct Case {
        QStringList arguments;
        QString says;
    };
    const QVector<Case> cases = {
        {{QStringLiteral("--bogus")}, QStringLiteral("bogus")},
        {{QStringLiteral("stray.mdb")}, QStringLiteral("stray.mdb")},
        {{QStringLiteral("--backup")}, QStringLiteral("backup")},
        {{QStringLiteral("--backup=")}, QStringLiteral("--backup needs a file name")},
        {{QStringLiteral("--config"), QStringLiteral("missing.ini")}, path(QStringLiteral("missing.ini"))},
        {{QStringLiteral("--database"), QStringLiteral("gone.mdb"), QStringLiteral("--backup"), QStringLiteral("x.mdb")},
         path(QStringLiteral("gone.mdb"))},
    };
    for (const Case& c : cases) {
        const CommandLine result = parse(c.arguments);
        EXPECT_EQ(result.action, CommandLine::Action::Fail) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.text.contains(c.says)) << result.text.toStdString();
        EXPECT_TRUE(result.text.contains(QStringLiteral("--help")));
    }
}
