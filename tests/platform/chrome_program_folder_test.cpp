#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/chrome/ProgramFolder.h"

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

struct FolderGuard {
    ~FolderGuard() { platform::setProgramFolderOverride(QString()); }
};

} // namespace

TEST(ProgramFolder, InstalledDataFolderLiesBesideTheBinaryFolderUnderShare)
{
    const struct {
        const char* binary;
        const char* program;
        const char* data;
    } cases[] = {
        {"/usr/bin", "notivo", "/usr/share/notivo"},
        {"/usr/local/bin", "keyrig", "/usr/local/share/keyrig"},
        {"/tmp/stage/usr/bin/", "keyrig", "/tmp/stage/usr/share/keyrig"},
        {"/opt/x/bin/../bin", "notivo", "/opt/x/share/notivo"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::installedDataFolder(c.binary, c.program), QString(c.data)) << c.binary;
}

TEST(ProgramFolder, FilesBesideTheProgramComeBeforeInstalledOnes)
{
    FolderGuard guard;
    QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    const QString data = platform::installedDataFolder(bin, QCoreApplication::applicationName());
    QDir().mkpath(bin);
    platform::setProgramFolderOverride(bin);

    // A build tree: no data folder, so the program is not installed and
    // missing files are looked for beside it.
    EXPECT_FALSE(platform::runsInstalled());
    EXPECT_EQ(platform::programFile("sub/file.cur"), bin + "/sub/file.cur");

    touch(data + "/sub/file.cur");
    EXPECT_TRUE(platform::runsInstalled());
    EXPECT_EQ(platform::programFile("sub/file.cur"), data + "/sub/file.cur");
    EXPECT_EQ(platform::programFile("missing.txt"), bin + "/missing.txt");

    touch(bin + "/sub/file.cur");
    EXPECT_EQ(platform::programFile("sub/file.cur"), bin + "/sub/file.cur");
}
