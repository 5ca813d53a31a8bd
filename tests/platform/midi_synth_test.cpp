#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/chrome/ProgramFolder.h"
#include "platform/midi/BuiltinSynth.h"
#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiService.h"
#include "platform/midi/SoundFontSearch.h"
#include "platform/midi/SynthEngine.h"
#include "tests/support/PrivateSoundServer.h"

using namespace platform::midi;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// The small Debian GM font loads fastest; any GM font does.
std::string testFont()
{
    const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    return SynthEngine::isSoundFont(small) ? small : findGmSoundFont();
}

float peak(SynthEngine& engine, int frames)
{
    std::vector<float> buffer(2 * static_cast<std::size_t>(frames));
    engine.render(buffer.data(), frames);
    float top = 0;
    for (float v : buffer)
        top = std::max(top, std::fabs(v));
    return top;
}

} // namespace

TEST(SynthEngine, OfflineNoteOnMiddleCIsNotSilent)
{
    const std::string font = testFont();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SynthEngine engine;
    ASSERT_TRUE(engine.loadSoundFont(font));
    EXPECT_LT(peak(engine, 4800), 1e-5f) << "silent before any note";

    for (std::uint32_t packed : {0x00B0u, 0x20B0u, 0x00C0u, 0x7F3C90u})
        engine.send(packed);
    EXPECT_GT(engine.activeVoices(), 0);
    EXPECT_GT(peak(engine, 4800), 0.01f) << "100 ms after note-on 60";

    engine.allSoundOff();
    peak(engine, 64); // voices stop at the next block
    EXPECT_EQ(engine.activeVoices(), 0);
    peak(engine, 48000); // only the reverb tail rings on, briefly
    EXPECT_LT(peak(engine, 4800), 0.0001f);
}

TEST(SynthEngine, RunningStatusAndDrumChannelSound)
{
    const std::string font = testFont();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SynthEngine engine;
    ASSERT_TRUE(engine.loadSoundFont(font));
    engine.send(0x7F2399);      // acoustic bass drum on channel 10
    engine.send(0x7F26);        // running status: acoustic snare
    EXPECT_GE(engine.activeVoices(), 2);
    EXPECT_GT(peak(engine, 2400), 0.01f);
}

TEST(SynthEngine, RefusesWhatIsNotASoundFont)
{
    QTemporaryDir dir;
    const QString fake = dir.filePath("fake.sf2");
    QFile file(fake);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF\0\0\0\0not a font");
    file.close();
    EXPECT_FALSE(SynthEngine::isSoundFont(fake.toStdString()));
    EXPECT_FALSE(SynthEngine::isSoundFont("/nonexistent.sf2"));
    EXPECT_FALSE(SynthEngine::isSoundFont(""));
    const QString garbage = dir.filePath("garbage.sf2");
    QFile other(garbage);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("garbage");
    other.close();
    SynthEngine engine;
    EXPECT_FALSE(engine.loadSoundFont(fake.toStdString()));
    EXPECT_FALSE(engine.loadSoundFont(garbage.toStdString()));
    EXPECT_FALSE(engine.hasSoundFont());
}

TEST(SoundFontSearch, FontBesideTheProgramComesFirstThenTheInstalledOneAndFakesAreSkipped)
{
    const std::string system = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (!SynthEngine::isSoundFont(system))
        GTEST_SKIP() << "TimGM6mb not installed";
    QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    const QString data = platform::installedDataFolder(bin, QCoreApplication::applicationName());
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(data));
    platform::setProgramFolderOverride(bin);

    QFile fake(bin + "/a-broken.sf2");
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("garbage");
    fake.close();
    ASSERT_TRUE(QFile::link(QString::fromStdString(system), bin + "/b-mine.sf2"));
    ASSERT_TRUE(QFile::link(QString::fromStdString(system), data + "/a-installed.sf2"));

    const auto candidates = soundFontCandidates();
    ASSERT_GE(candidates.size(), 6u);
    EXPECT_EQ(candidates[0], (bin + "/a-broken.sf2").toStdString());
    EXPECT_EQ(candidates[1], (bin + "/b-mine.sf2").toStdString());
    EXPECT_EQ(candidates[2], (data + "/a-installed.sf2").toStdString());
    EXPECT_EQ(candidates[3], "/usr/share/sounds/sf2/default-GM.sf2");
    EXPECT_EQ(findGmSoundFont(), (bin + "/b-mine.sf2").toStdString());

    QFile::remove(bin + "/b-mine.sf2");
    EXPECT_EQ(findGmSoundFont(), (data + "/a-installed.sf2").toStdString());
    QFile::remove(data + "/a-installed.sf2");
    EXPECT_NE(findGmSoundFont(), (bin + "/a-broken.sf2").toStdString());
    platform::setProgramFolderOverride(QString());
}

TEST(BuiltinSynth, WithoutSoundServerOpenFailsCleanly)
{
    const std::string font = testFont();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse/native");
    {
        BuiltinSynth synth(font);
        const auto start = Clock::now();
        EXPECT_EQ(synth.open(), MidiNoDriver);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
        EXPECT_NE(SynthEngine::lastError().find("sound server"), std::string::npos) << SynthEngine::lastError();
        EXPECT_EQ(synth.openPorts(), 0);
        EXPECT_FALSE(synth.streaming());
        EXPECT_EQ(synth.open(), MidiNoDriver) << "a second try fails the same way";
        synth.close();
    }
    if (saved.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", saved);
}

TEST(BuiltinSynth, WithoutSoundFontOpenFailsAtOnce)
{
    BuiltinSynth synth("/nonexistent/font.sf2");
    const auto start = Clock::now();
    EXPECT_EQ(synth.open(), MidiNoDriver);
    EXPECT_LT(Clock::now() - start, milliseconds(500));
    EXPECT_EQ(synth.openPorts(), 0);
    synth.close(); // closing what never opened is harmless
    EXPECT_FALSE(synth.waitUntilReady(Clock::now()));
}

TEST(BuiltinSynth, MessagesSentWhileLoadingSoundInOrderAndCloseSilences)
{
    const std::string font = testFont();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    const PrivateSoundServer server;
    ASSERT_TRUE(server.started()) << server.log().toStdString();
    BuiltinSynth synth(font);
    ASSERT_EQ(synth.open(), MidiOk);
    // At once, before the font can have loaded: a program change and a
    // chord, then one note released again.  All must reach the synthesiser.
    ShortMessageDecoder decoder;
    for (std::uint32_t packed : {0x0018C0u, 0x7F3C90u, 0x7F4090u, 0x7F4390u, 0x004380u})
        synth.play(*decoder.decode(packed));
    ASSERT_TRUE(synth.waitUntilReady(Clock::now() + std::chrono::seconds(20)));
    ASSERT_TRUE(synth.drain(Clock::now() + std::chrono::seconds(5)));
    const int sounding = synth.activeVoices();
    EXPECT_GT(sounding, 0);

    // A second port on the same device; closing one keeps the sound.
    ASSERT_EQ(synth.open(), MidiOk);
    EXPECT_EQ(synth.openPorts(), 2);
    synth.close();
    ASSERT_TRUE(synth.drain(Clock::now() + std::chrono::seconds(5)));
    EXPECT_EQ(synth.activeVoices(), sounding);

    synth.close();
    ASSERT_TRUE(synth.drain(Clock::now() + std::chrono::seconds(5)));
    std::vector<float> block(2 * 64);
    synth.engine()->render(block.data(), 64); // voices stop at the next block
    EXPECT_EQ(synth.activeVoices(), 0);
    EXPECT_EQ(synth.openPorts(), 0);

    // Reopening is immediate: the font stays loaded.
    const auto start = Clock::now();
    ASSERT_EQ(synth.open(), MidiOk);
    EXPECT_TRUE(synth.waitUntilReady(Clock::now()));
    EXPECT_LT(Clock::now() - start, milliseconds(100));
    synth.play(*decoder.decode(0x7F3C90));
    ASSERT_TRUE(synth.drain(Clock::now() + std::chrono::seconds(5)));
    EXPECT_GT(synth.activeVoices(), 0);
    synth.close();
}
