// A settings write that fails must leave the config.dat that was there before
// exactly as it was: when the folder takes no new file, and when the write
// breaks off part-way.  The faults are real (a read-only folder, a file-size
// limit).
#include "MidiFixture.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "keyrig/ConfigFile.h"
#include "keyrig/frmPiano.h"
#include "platform/chrome/ProgramFolder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WriteFaults.h"

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

KeyrigSettings changed()
{
    KeyrigSettings s;
    s.PortDevice = 1;
    s.Banks = {5, 24, 73, 127};
    s.DrumNotes = {35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 66};
    return s;
}

// Written by hand, the way a user might leave it: not the program's own layout.
const QByteArray PreviousFile = "2\n0 24 40 56\n36 38 42 46 49 51 35 37 39 41 43 45\n";

TEST(ConfigLostData, AFailedWriteLeavesThePreviousFileByteIdentical)
{
    const QByteArray newText = ConfigFile::format(changed());
    struct Fault {
        const char* name;
        std::function<std::shared_ptr<void>(const QString& folder, bool& bites)> arm;
    };
    const Fault faults[] = {
        {"read-only folder",
         [](const QString& folder, bool& bites) {
             auto guard = std::make_shared<writefaults::ReadOnlyFolder>(folder);
             bites = guard->refusesNewFiles();
             return std::shared_ptr<void>(guard);
         }},
        {"write broken off half-way",
         [&](const QString& folder, bool& bites) {
             auto guard = std::make_shared<writefaults::FileSizeLimit>(rlim_t(newText.size() / 2));
             bites = guard->stopsWriting(folder, newText);
             return std::shared_ptr<void>(guard);
         }},
    };

    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("config.dat");
        ASSERT_TRUE(writeFile(path, PreviousFile));
        {
            bool bites = false;
            const std::shared_ptr<void> guard = fault.arm(dir.path(), bites);
            ASSERT_TRUE(bites) << "the fault could not be put in place on this machine";
            EXPECT_FALSE(ConfigFile::write(path, changed()));
        }
        EXPECT_EQ(readAll(path), PreviousFile);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.dat"})
            << "no half-written temporary may stay behind";

        ASSERT_TRUE(ConfigFile::write(path, changed())); // the fault gone, the write goes through
        EXPECT_EQ(readAll(path), newText);
    }
}

// The window saves at exit.  A program folder that takes no files keeps its
// config.dat untouched, and the settings go to the user's folder instead of
// being lost.
class ConfigLostDataWindow : public MidiFixture {
protected:
    void SetUp() override
    {
        MidiFixture::SetUp();
        midi.CloseMidiOut(); // the window opens its own
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(folder.isValid());
        platform::setProgramFolderOverride(folder.path());
        QFile::copy(sourceDir() + "/keyrig/resources/files/instrument.txt", folder.filePath("instrument.txt"));
        userPath = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath("config.dat");
        QFile::remove(userPath);
    }
    void TearDown() override
    {
        QFile::remove(userPath);
        QStandardPaths::setTestModeEnabled(false);
        platform::setProgramFolderOverride(QString());
        MidiFixture::TearDown();
    }

    QTemporaryDir folder;
    QString userPath;
};

TEST_F(ConfigLostDataWindow, AReadOnlyProgramFolderKeepsItsFileAndTheSettingsGoToTheUserFolder)
{
    const QString programCopy = folder.filePath("config.dat");
    ASSERT_TRUE(writeFile(programCopy, PreviousFile));
    {
        writefaults::ReadOnlyFolder readOnly(folder.path());
        ASSERT_TRUE(readOnly.refusesNewFiles());
        frmPiano window;
        EXPECT_EQ(window.banks()[1], 24); // read from the program folder
        window.mnuPiano_Click(40);
        window.lblBank_MouseDown(3, Qt::LeftButton); // bank 3 holds 56
        window.close();
    }
    EXPECT_EQ(readAll(programCopy), PreviousFile);
    EXPECT_TRUE(messages().isEmpty());
    KeyrigSettings saved;
    ConfigFile::read(userPath, saved);
    EXPECT_EQ(saved.PortDevice, 2);
    EXPECT_EQ(saved.Banks, (std::array<int, 4>{0, 24, 40, 56}));
    EXPECT_EQ(saved.DrumNotes[0], 36);
}

} // namespace
