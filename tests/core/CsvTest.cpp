// CSV as other programs read it, written whole or not at all.

#include <cerrno>
#include <cstring>

#include "core/Csv.h"
#include "support/CoreTestEnv.h"

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe)
{
    EXPECT_EQ(csvField(QStringLiteral("it's; fine")), "it's; fine");
    EXPECT_EQ(csvField(QStringLiteral("two\nlines")), "\"two\nlines\"");
    EXPECT_EQ(csvField(QStringLiteral("cr\ronly")), "\"cr\ronly\"");

    const QByteArray document = csvDocument({QStringLiteral("Work"), QStringLiteral("Notes")},
                                            {{QStringLiteral("Café"), QStringLiteral("x,\"y\"\r\nz")},
                                             {QString(), QStringLiteral("last")}});
    EXPECT_EQ(document, QByteArray("Work,Notes\r\nCaf\xc3\xa9,\"x,\"\"y\"\"\r\nz\"\r\n,last\r\n"));
}

using CsvFileTest = CoreTest;

TEST_F(CsvFileTest, AFileThatCannotBeWrittenIsReportedAndAnOldOneKept)
{
    const QString file = path(QStringLiteral("out.csv"));
    QString error;
    ASSERT_TRUE(writeCsvFile(file, {QStringLiteral("A")}, {{QStringLiteral("1")}}, &error));
    EXPECT_EQ(readFile(file), QByteArray("A\r\n1\r\n"));
    EXPECT_FALSE(writeCsvFile(path(QStringLiteral("no/such/folder/out.csv")), {QStringLiteral("A")}, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    {
        // A full disk part way: the old file stays whole, and the system's reason is told.
        FileSizeLimit limit(10);
        EXPECT_FALSE(writeCsvFile(file, {QStringLiteral("A")}, {{QString(100, QLatin1Char('x'))}}, &error));
        EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << error.toStdString();
    }
    EXPECT_EQ(readFile(file), QByteArray("A\r\n1\r\n"));
}
