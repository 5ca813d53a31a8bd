#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "keyrig/InstrumentNames.h"

namespace {

QByteArray fullFile()
{
    QByteArray text;
    for (int p = 0; p < 128; ++p)
        text += QByteArray::number(p) + "\tProgram name " + QByteArray::number(p) + "\r\n";
    text += "---\tPercussion\r\n";
    for (int k = 35; k <= 66; ++k)
        text += QByteArray::number(k) + "\tDrum name " + QByteArray::number(k) + "\r\n";
    text += "67\tNever read\r\n";
    return text;
}

TEST(InstrumentNames, TakesTheSecondFieldOfEachLineAndSkipsTheSeparator)
{
    const InstrumentNames names = InstrumentNames::parse(fullFile());
    ASSERT_EQ(names.Programs.size(), 128);
    ASSERT_EQ(names.Drums.size(), 32);
    EXPECT_EQ(names.Programs[0], "Program name 0");
    EXPECT_EQ(names.Programs[127], "Program name 127");
    EXPECT_EQ(names.Drums[0], "Drum name 35");
    EXPECT_EQ(names.Drums[31], "Drum name 66");
    EXPECT_FALSE(names.Drums.contains("Never read"));
    EXPECT_FALSE(names.Programs.contains("Percussion"));
}

TEST(InstrumentNames, IgnoresTextAfterASecondTabAndDecodesLatin1)
{
    const InstrumentNames names =
        InstrumentNames::parse("0\tGrand\tcomment\n1\t\tempty\n2\tCaf\xe9 Organ\n3\tSch\xc3\xb6n\n");
    EXPECT_EQ(names.Programs[0], "Grand");
    EXPECT_EQ(names.Programs[1], "Program 1");
    EXPECT_EQ(names.Programs[2], QString::fromUtf8("Caf\xc3\xa9 Organ"));
    EXPECT_EQ(names.Programs[3], QString::fromUtf8("Sch\xc3\xb6n"));
}

TEST(InstrumentNames, MissingShortOrTablessFilesStillGiveEveryCaption)
{
    struct Case {
        QByteArray text;
        QString program5;
        QString drum35;
    };
    QByteArray shortFile = fullFile().left(fullFile().indexOf("40\tDrum"));
    const Case cases[] = {
        {"", "Program 5", "Drum 35"},
        {"0\tPiano\n", "Program 5", "Drum 35"},
        {"no tabs here\nat all\n\n\n\nfive\n", "Program 5", "Drum 35"},
        {shortFile, "Program name 5", "Drum name 35"},
    };
    for (const Case& c : cases) {
        const InstrumentNames names = InstrumentNames::parse(c.text);
        ASSERT_EQ(names.Programs.size(), 128);
        ASSERT_EQ(names.Drums.size(), 32);
        EXPECT_EQ(names.Programs[5], c.program5);
        EXPECT_EQ(names.Drums[0], c.drum35);
        EXPECT_EQ(names.Drums[31], "Drum 66");
    }
    const InstrumentNames missing = InstrumentNames::read(QTemporaryDir().filePath("none.txt"));
    EXPECT_EQ(missing.Programs[127], "Program 127");
}

} // namespace
