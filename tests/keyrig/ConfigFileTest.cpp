#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "keyrig/ConfigFile.h"
#include "platform/chrome/ProgramFolder.h"

namespace {

KeyrigSettings parsed(const QByteArray& text)
{
    KeyrigSettings settings;
    ConfigFile::parse(text, settings);
    return settings;
}

KeyrigSettings sample()
{
    KeyrigSettings s;
    s.PortDevice = 2;
    s.Banks = {0, 24, 73, 127};
    s.DrumNotes = {35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 66};
    return s;
}

TEST(ConfigFile, ReadsTheSameValuesWhateverTheSpacing)
{
    const KeyrigSettings expected = sample();
    const QByteArray variants[] = {
        " 2 \r\n 0  24  73  127 \r\n 35  36  37  38  39  40  41  42  43  44  45  66 \r\n",
        "2\n0 24 73 127\n35 36 37 38 39 40 41 42 43 44 45 66\n",
        "2 0 24 73 127 35 36 37 38 39 40 41 42 43 44 45 66",
        "2,0,24,73,127,35,36,37,38,39,40,41,42,43,44,45,66",
        "2\t0\t\t24\t73 \t127\r\n\r\n35, 36 ,37 , 38,39,40,41,42,43,44,45,66",
        "             2             0            24\n73 127 35 36 37 38 39 40 41 42 43 44 45 66 trailing",
        "+2 +0 24 73 127 35 36 37 38 39 40 41 42 43 44 45 66",
        "\xEF\xBB\xBF" "2 0 24 73 127 35 36 37 38 39 40 41 42 43 44 45 66\r\n",
    };
    for (const QByteArray& text : variants)
        EXPECT_EQ(parsed(text), expected) << text.constData();
}

TEST(ConfigFile, StopsAtTheFirstMissingOrBadValueKeepingWhatWasRead)
{
    struct Case {
        QByteArray text;
        int count;
        int device;
        int bank1;
        int pad0;
    };
    const Case cases[] = {
        {"", 0, 0, 0, 49},
        {"   \r\n", 0, 0, 0, 49},
        {" 3 \r\n", 1, 3, 0, 49},
        {"1 5 6", 3, 1, 6, 49},
        {"1 5 x 7", 2, 1, 0, 49},
        {"1 5 6 7 8 60 9", 7, 1, 6, 60},
        {"1,,5", 1, 1, 0, 49},
        {",1", 0, 0, 0, 49},
        {"1 5 6.5", 2, 1, 0, 49},
        {"1 5 - 6", 2, 1, 0, 49},
        {"1 5 +-6", 2, 1, 0, 49},
        {"99999999999 1", 0, 0, 0, 49},
        {"-1 5 6", 3, -1, 6, 49},
    };
    for (const Case& c : cases) {
        KeyrigSettings s;
        EXPECT_EQ(ConfigFile::parse(c.text, s), c.count) << c.text.constData();
        EXPECT_EQ(s.PortDevice, c.device) << c.text.constData();
        EXPECT_EQ(s.Banks[1], c.bank1) << c.text.constData();
        EXPECT_EQ(s.DrumNotes[0], c.pad0) << c.text.constData();
        EXPECT_EQ(s.DrumNotes[11], 40) << c.text.constData();
    }
}

TEST(ConfigFile, ProgramsAndKeysOutsideTheMidiRangeKeepTheirDefaults)
{
    const KeyrigSettings s = parsed("7 128 -1 5 300  200 -3 50 0 0 0 0 0 0 0 0 127");
    EXPECT_EQ(s.PortDevice, 7);
    EXPECT_EQ(s.Banks, (std::array<int, 4>{0, 0, 5, 0}));
    EXPECT_EQ(s.DrumNotes, (std::array<int, 12>{49, 57, 50, 0, 0, 0, 0, 0, 0, 0, 0, 127}));
}

TEST(ConfigFile, WritesTheExactText)
{
    EXPECT_EQ(ConfigFile::format(KeyrigSettings{}),
              QByteArray(" 0 \r\n 0  0  0  0 \r\n 49  57  51  45  47  48  46  42  44  37  36  40 \r\n"));
    KeyrigSettings s = sample();
    s.PortDevice = -1;
    EXPECT_EQ(ConfigFile::format(s),
              QByteArray("-1 \r\n 0  24  73  127 \r\n 35  36  37  38  39  40  41  42  43  44  45  66 \r\n"));
    EXPECT_EQ(parsed(ConfigFile::format(s)), s);
}

TEST(ConfigFile, ReplacesTheFileAndReadsItBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.dat");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9");
    old.close();

    ASSERT_TRUE(ConfigFile::write(path, sample()));
    KeyrigSettings back;
    ConfigFile::read(path, back);
    EXPECT_EQ(back, sample());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"config.dat"}); // no temporary left

    KeyrigSettings untouched;
    ConfigFile::read(dir.filePath("missing.dat"), untouched);
    EXPECT_EQ(untouched, KeyrigSettings{});
}

TEST(ConfigFile, AFailedWriteLeavesThePreviousFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.dat");
    ASSERT_TRUE(ConfigFile::write(path, sample()));
    // A folder in the way of the file: the write cannot complete.
    const QString blocked = dir.filePath("blocked");
    ASSERT_TRUE(QDir().mkpath(blocked + "/config.dat"));
    EXPECT_FALSE(ConfigFile::write(blocked + "/config.dat", KeyrigSettings{}));
    KeyrigSettings back;
    ConfigFile::read(path, back);
    EXPECT_EQ(back, sample());
}

TEST(ConfigFile, LivesBesideTheProgramUnlessThatFolderTakesNoFiles)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    platform::setProgramFolderOverride(dir.path());
    EXPECT_EQ(ConfigFile::readPath(), dir.filePath("config.dat"));
    EXPECT_EQ(ConfigFile::writePath(), dir.filePath("config.dat"));

    platform::setProgramFolderOverride(dir.filePath("no/such/folder"));
    const QString user =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath("config.dat");
    EXPECT_EQ(ConfigFile::writePath(), user);
    ASSERT_TRUE(ConfigFile::write(ConfigFile::writePath(), sample()));
    EXPECT_EQ(ConfigFile::readPath(), user);
    QFile::remove(user);
    platform::setProgramFolderOverride(QString());
    QStandardPaths::setTestModeEnabled(false);
}

TEST(ConfigFile, AnInstalledProgramKeepsItInTheUsersFolderEvenWhenItsOwnFolderTakesFiles)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(platform::installedDataFolder(bin, QCoreApplication::applicationName())));
    platform::setProgramFolderOverride(bin);
    const QString user =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath("config.dat");
    EXPECT_EQ(ConfigFile::writePath(), user);
    EXPECT_EQ(ConfigFile::readPath(), user);
    platform::setProgramFolderOverride(QString());
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
