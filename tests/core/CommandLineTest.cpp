// The command line: each option's action and the mistakes refused.

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

TEST_F(CommandLineTest, EachOptionAsksForItsActionWithFilesFromTheWorkingFolder)
{
    const CommandLine help = parse({QStringLiteral("-h")});
    EXPECT_EQ(help.action, CommandLine::Action::ShowHelp);
    for (const char* name : {"--config", "--database", "--backup", "--import-csv", "--version", "Usage: quillary"})
        EXPECT_TRUE(help.text.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(help.text.contains(QLatin1String("exit-after")));  // the benchmark's, no concern of the user's
    const CommandLine version = parse({QStringLiteral("-v")});
    EXPECT_EQ(version.action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(version.text, versionLine() + QLatin1Char('\n'));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Quillary \\d+\\.\\d+\\.\\d+$")).match(versionLine()).hasMatch());

    // No options: the window, with the files the rule finds; the toolkit's own options pass.
    const CommandLine c = parse({QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("-reverse")});
    EXPECT_EQ(c.action, CommandLine::Action::RunWindow);
    EXPECT_TRUE(c.settingsFile.isEmpty() && c.database.isEmpty() && c.backupTarget.isEmpty() && !c.exitAfterFirstFill);
    EXPECT_TRUE(parse({QStringLiteral("--exit-after-first-fill")}).exitAfterFirstFill);

    // A database that is not there yet is the window's to offer to create.
    writeIni("[Initialisation]\r\n");
    const CommandLine files = parse({QStringLiteral("--config"), QStringLiteral("QUILLARY.INI"),
                                     QStringLiteral("--database=sub/../new.mdb")});
    EXPECT_EQ(files.action, CommandLine::Action::RunWindow);
    EXPECT_EQ(files.settingsFile + '|' + files.database, iniFile() + '|' + path(QStringLiteral("new.mdb")));
    createDatabase();
    // The export is read by the same parser: its file may come before or after the options.
    const CommandLine e = parse({QStringLiteral("--export-csv"), QStringLiteral("Publishers"), QStringLiteral("out/p.csv"),
                                 QStringLiteral("--selection"), QStringLiteral("Brass Only"),
                                 QStringLiteral("--database"), QStringLiteral("Quillary.mdb")});
    EXPECT_EQ(e.action, CommandLine::Action::ExportCsv) << e.text.toStdString();
    EXPECT_TRUE(e.exportView == View::Publisher && e.selection == QStringLiteral("Brass Only"));
    EXPECT_EQ(e.exportTarget + '|' + e.database, path(QStringLiteral("out/p.csv")) + '|' + path(QStringLiteral("Quillary.mdb")));

    // The import's file may come first too; a status word may hold a comma.
    writeFile(path(QStringLiteral("in.csv")), "Name\n");
    const CommandLine i = parse({QStringLiteral("in.csv"), QStringLiteral("--import-csv"), QStringLiteral("Submissions"),
                                 QStringLiteral("--date-order=mdy"), QStringLiteral("--status"),
                                 QStringLiteral("Lost, Sadly = Rejected")});
    EXPECT_EQ(i.action, CommandLine::Action::ImportCsv) << i.text.toStdString();
    EXPECT_TRUE(i.importSource == path(QStringLiteral("in.csv")) && i.dateOrder == DateOrder::MonthDayYear);
    EXPECT_EQ(i.statusWords, (QHash<QString, SubmissionStatus>{{QStringLiteral("Lost, Sadly"), SubmissionStatus::Rejected}}));
}

TEST_F(CommandLineTest, MistakesAreRefusedWithAMessage)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"--bogus"}, "bogus"},
        {{"--config", "missing.ini"}, path("missing.ini")},
        {{"--database", "."}, "is a folder"},
        {{"--backup", "bad\uFFFD.mdb"}, "cannot be used"},
        {{"--export-csv", "works", "a.csv", "b.csv"}, "Usage: quillary --export-csv"},
        {{"--import-csv", "letters", "in.csv"}, "not a kind of record"},
        {{"--import-csv", "works", "in.csv", "--date-order", "dym"}, "not a date order"},
        {{"--import-csv", "works", "in.csv", "--status", "Held=maybe"}, "not a status mapping"},
        {{"--import-csv", "works", "in.csv", "--backup", "x.mdb"}, "cannot be asked for together"},
    };
    writeFile(path(QStringLiteral("in.csv")), "Name\n");
    for (const auto& [arguments, says] : cases) {
        const CommandLine result = parse(arguments);
        EXPECT_EQ(result.action, CommandLine::Action::Fail) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.text.contains(says) && result.text.contains(QStringLiteral("--help")))
            << result.text.toStdString();
    }
}
