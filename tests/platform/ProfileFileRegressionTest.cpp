// Inputs the settings-file fuzz target found mishandled.

#include <gtest/gtest.h>

#include "platform/ProfileFile.h"

TEST(ProfileFileRegression, AValueStartingWithAZeroWidthNoBreakSpaceReadsBackWhole)
{
    // U+FEFF at the start of a value is part of it; only the file's first bytes can be a BOM.
    const QString value = QStringLiteral("\uFEFF[A] x=s");
    const QByteArray written = profile::writeValue("[S]\nk=1\n", QStringLiteral("S"), QStringLiteral("k"), value);
    EXPECT_EQ(written, QByteArray("[S]\nk=\xEF\xBB\xBF[A] x=s\n"));
    EXPECT_EQ(profile::readValue(written, QStringLiteral("S"), QStringLiteral("k")), value);

    // The file's own BOM is still skipped.
    EXPECT_EQ(profile::readValue("\xEF\xBB\xBF[S]\r\nk=v\r\n", QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("v"));
}
