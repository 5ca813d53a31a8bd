// F12 records what the keyboard window sends and writes it, on the second
// F12 or at exit, as a MIDI file in the music folder; a write that fails
// keeps the take for the next try.
#include "PianoWindowFixture.h"

#include <QDir>
#include <QRegularExpression>

#include <functional>
#include <optional>

#include "keyrig/PerformanceRecorder.h"
#include "tests/keyrig/FakeClock.h"
#include "tests/support/MusicFolder.h"
#include "tests/support/WriteFaults.h"

namespace {

constexpr quint32 ScanF12 = 96, ScanF2 = 68, ScanF9 = 75;

class RecordingWindowTest : public PianoWindowFixture {
protected:
    void SetUp() override
    {
        PianoWindowFixture::SetUp();
        ASSERT_TRUE(home.isValid());
        // The music folder does not exist yet.
        musicFolder.emplace(home.filePath("config"), music());
        ASSERT_TRUE(musicFolder->ready());
    }

    void TearDown() override
    {
        PianoWindowFixture::TearDown();
        musicFolder.reset();
    }

    QString music() const { return home.filePath("music"); }
    QStringList takes() const { return QDir(music()).entryList(QDir::Files | QDir::Hidden); }

    frmPiano& openOnFakeClock()
    {
        frmPiano& w = open();
        fakeMicroseconds = 0;
        w.recorder().setClock(&fakeNow);
        return w;
    }

    void press(Qt::Key qtKey, quint32 scan)
    {
        key(QEvent::KeyPress, qtKey, scan);
        key(QEvent::KeyRelease, qtKey, scan);
    }

    QTemporaryDir home;
    std::optional<MusicFolder> musicFolder;
};

// A track event: delta time (one byte here) and the message bytes.
QByteArray event(int delta, std::initializer_list<int> bytes)
{
    QByteArray out(1, char(delta));
    for (int b : bytes)
        out.append(char(b));
    return out;
}

TEST_F(RecordingWindowTest, ATakeIsWrittenAsAMidiFileOfWhatWasSentWithItsTimes)
{
    frmPiano& w = openOnFakeClock();
    w.show();
    w.mnuPiano_Click(24); // the sound in use when the take starts
    const QPoint dot = frmPiano::recordingDotRect().center();
    const QColor before = w.grab().toImage().pixelColor(dot);

    press(Qt::Key_F12, ScanF12);
    EXPECT_TRUE(w.recorder().isRecording());
    EXPECT_EQ(w.grab().toImage().pixelColor(dot), QColor(230, 0, 0));
    // 25 ms is 48 ticks at 960 a quarter and 120 beats a minute.
    auto at = [](int ms) { fakeMicroseconds = ms * 1000; };
    at(25);
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    at(50);
    key(QEvent::KeyPress, Qt::Key_2, ScanKeypad2, false, Qt::KeypadModifier);
    at(75);
    key(QEvent::KeyRelease, Qt::Key_2, ScanKeypad2, false, Qt::KeypadModifier);
    at(100);
    mouse(label("lblVolume"), QEvent::MouseButtonPress, {33, 4}); // velocity 75
    mouse(label("lblVolume"), QEvent::MouseButtonRelease, {33, 4});
    press(Qt::Key_F5, ScanF5);
    at(125);
    w.tmrBeat_Timer(); // the intro's first step: 44, 35, 55
    press(Qt::Key_F9, ScanF9);
    at(150);
    key(QEvent::KeyRelease, Qt::Key_Z, ScanZ);
    at(175);
    press(Qt::Key_F2, ScanF2); // bank 2 holds program 0
    at(200);
    key(QEvent::KeyPress, Qt::Key_X, ScanX); // still held at the stop
    at(250);
    press(Qt::Key_F12, ScanF12);

    EXPECT_FALSE(w.recorder().isRecording());
    EXPECT_FALSE(w.recorder().hasTake());
    EXPECT_EQ(w.grab().toImage().pixelColor(dot), before);
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    ASSERT_EQ(takes().size(), 1);
    EXPECT_TRUE(QRegularExpression("^keyrig-\\d{8}-\\d{6}\\.mid$").match(takes()[0]).hasMatch()) << takes()[0].toStdString();
    QFile file(QDir(music()).filePath(takes()[0]));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));

    QByteArray track;
    track += QByteArray("\x00\xFF\x03\x06keyrig", 10);
    track += QByteArray("\x00\xFF\x51\x03\x07\xA1\x20", 7); // 500000 us a quarter
    track += event(0, {0xB0, 0, 0}) + event(0, {0xB0, 0x20, 0}) + event(0, {0xC0, 24});
    track += event(48, {0x90, 48, 127});
    track += event(48, {0x99, 36, 127});
    track += event(48, {0x89, 36, 0});
    track += event(96, {0x99, 44, 75}) + event(0, {0x99, 35, 75}) + event(0, {0x99, 55, 75});
    track += event(48, {0x80, 48, 0});
    track += event(48, {0xB0, 0, 0}) + event(0, {0xB0, 0x20, 0}) + event(0, {0xC0, 0});
    track += event(48, {0x90, 50, 75});
    // At the stop: a note-off for every note still sounding, the beat's included.
    track += event(96, {0x80, 50, 0}) + event(0, {0x89, 35, 0}) + event(0, {0x89, 44, 0}) +
             event(0, {0x89, 55, 0});
    track += QByteArray("\x00\xFF\x2F\x00", 4);
    QByteArray expected("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x03\xC0MTrk", 18);
    for (int shift : {24, 16, 8, 0})
        expected.append(char((track.size() >> shift) & 0xFF));
    expected += track;
    EXPECT_EQ(file.readAll().toHex(' '), expected.toHex(' '));
}

TEST_F(RecordingWindowTest, F12WithNothingPlayedWritesNoFile)
{
    frmPiano& w = openOnFakeClock();
    press(Qt::Key_F12, ScanF12);
    fakeMicroseconds = 1'000'000;
    press(Qt::Key_F12, ScanF12);
    EXPECT_FALSE(w.recorder().isRecording());
    EXPECT_FALSE(w.recorder().hasTake());
    EXPECT_TRUE(takes().isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RecordingWindowTest, AFailedWriteSaysWhyKeepsTheTakeAndF12TriesAgain)
{
    struct Fault {
        const char* name;
        const char* reason;
        std::function<std::shared_ptr<void>(const QString& folder, bool& bites)> arm;
    };
    const Fault faults[] = {
        {"read-only music folder", "Permission denied",
         [](const QString& folder, bool& bites) {
             auto guard = std::make_shared<writefaults::ReadOnlyFolder>(folder);
             bites = guard->refusesNewFiles();
             return std::shared_ptr<void>(guard);
         }},
        {"full disk", "File too large",
         [](const QString& folder, bool& bites) {
             auto guard = std::make_shared<writefaults::FileSizeLimit>(rlim_t(40));
             bites = guard->stopsWriting(folder, QByteArray(100, 'x'));
             return std::shared_ptr<void>(guard);
         }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        messages().clear();
        QDir(music()).removeRecursively();
        QDir().mkpath(music());
        frmPiano& w = openOnFakeClock();
        press(Qt::Key_F12, ScanF12);
        fakeMicroseconds = 100'000;
        press(Qt::Key_Z, ScanZ);
        {
            bool bites = false;
            const std::shared_ptr<void> guard = fault.arm(music(), bites);
            ASSERT_TRUE(bites) << "the fault could not be put in place on this machine";
            press(Qt::Key_F12, ScanF12);
        }
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages()[0].startsWith("The recording could not be saved as " + music() + "/keyrig-"));
        EXPECT_TRUE(messages()[0].contains(fault.reason)) << messages()[0].toStdString();
        EXPECT_TRUE(messages()[0].endsWith("The recording is kept: press F12 to try again."));
        EXPECT_TRUE(takes().isEmpty()) << "no half file and no temporary file";
        EXPECT_TRUE(w.recorder().hasTake());

        press(Qt::Key_F12, ScanF12); // the fault gone
        EXPECT_EQ(messages().size(), 1);
        EXPECT_EQ(takes().size(), 1);
        EXPECT_FALSE(w.recorder().hasTake());
        EXPECT_FALSE(w.recorder().isRecording());
        window.reset();
    }
}

TEST_F(RecordingWindowTest, ClosingWritesTheTakeBeforeTheSettings)
{
    frmPiano& w = openOnFakeClock();
    press(Qt::Key_F12, ScanF12);
    fakeMicroseconds = 100'000;
    key(QEvent::KeyPress, Qt::Key_Z, ScanZ);
    EXPECT_TRUE(w.close());
    ASSERT_EQ(takes().size(), 1);
    EXPECT_FALSE(savedConfig().isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RecordingWindowTest, ATakeThatCannotBeWrittenKeepsTheWindowOpenOnce)
{
    QDir().mkpath(music());
    frmPiano& w = openOnFakeClock();
    w.show();
    press(Qt::Key_F12, ScanF12);
    fakeMicroseconds = 100'000;
    press(Qt::Key_Z, ScanZ);
    writefaults::ReadOnlyFolder guard(music());
    ASSERT_TRUE(guard.refusesNewFiles());

    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("close keyrig again to quit without it")) << messages()[0].toStdString();
    EXPECT_TRUE(savedConfig().isEmpty()) << "the settings are saved when the window really closes";

    EXPECT_TRUE(w.close());
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[1].endsWith("The recording is lost."));
    EXPECT_FALSE(savedConfig().isEmpty());
}

} // namespace
