#include <gtest/gtest.h>

#include "ImportSupport.h"
#include "notivo/score/MidiImport.h"
#include "notivo/score/MusicXmlReader.h"
#include "platform/midi/MidiMessage.h"
#include "platform/midi/StandardMidiFile.h"
#include "tests/support/MidiBytes.h"

using namespace notivo;
using importsupport::shown;
using importsupport::shownColumns;
using importsupport::musicXml;
using importsupport::note;

namespace {

struct Case {
    const char* what;
    QStringList measures;
    QStringList columns;
    QString report;
    int extraParts = 0;
};

void expectRead(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Score score;
        const ImportResult read = readMusicXml(musicXml(c.measures, c.extraParts), score);
        ASSERT_TRUE(read) << read.problem.toStdString();
        EXPECT_EQ(shownColumns(score), shown(c.columns));
        EXPECT_EQ(read.report.toStdString(), c.report.toStdString());
    }
}

const QString V2 = QStringLiteral("<voice>2</voice>");
const QString Back16 = QStringLiteral("<backup><duration>16</duration></backup>");

TEST(MusicXmlImport, ValuesComeFromTheNotatedType)
{
    expectRead({
        {"the five values", {note("C5", 1, "16th") + note("D5", 2, "eighth") + note("E5", 4, "quarter") + note("F5", 8, "half")},
         {"C5=1", "D5=2", "E5=3", "F5=4"}, ""},
        {"whole", {note("G4", 16, "whole")}, {"G4=5"}, ""},
        {"dots are left out", {note("C5", 6, "quarter", "<dot/>") + note("C5", 7, "quarter", "<dot/><dot/>")},
         {"C5=3", "C5=3"}, "3 dots left out"},
        {"shorter and longer values", {note("C5", 1, "32nd") + note("C5", 1, "64th"), note("C5", 32, "breve")},
         {"C5=1", "C5=1", "C5=5"}, "2 notes shorter than a semiquaver written as semiquavers; 1 note longer than a whole note written as whole notes"},
        {"triplets", {note("C5", 1, "eighth", "<time-modification/>")}, {"C5=2"}, "1 note of a tuplet written as plain values"},
        {"no type: the nearest to the duration", {"<note><pitch><step>A</step><octave>4</octave></pitch><duration>8</duration></note>"},
         {"A4=4"}, ""},
    });
}

TEST(MusicXmlImport, AltersSharpsFlatsAndTheNearestNoteForTheRest)
{
    expectRead({
        {"sharp and flat", {note("F#4", 4, "quarter") + note("Bb4", 4, "quarter") + note("E#5", 4, "quarter")},
         {"F#4=3", "Bb4=3", "E#5=3"}, ""},
        {"double sharps and flats", {note("F##4", 4, "quarter") + note("E##4", 4, "quarter") + note("Cbb5", 4, "quarter") + note("B##4", 4, "quarter")},
         {"G4=3", "F#4=3", "Bb4=3", "C#5=3"}, "4 double sharps or flats written as the nearest note"},
        {"a quarter tone", {"<note><pitch><step>D</step><alter>0.5</alter><octave>5</octave></pitch><duration>4</duration><type>quarter</type></note>"},
         {"D5=3"}, "1 microtone rounded to a semitone"},
    });
}

TEST(MusicXmlImport, RestsBecomePausesAndAfterTheLastNoteOnlyWrittenOnes)
{
    expectRead({
        {"quarter, eighth and 16th rests", {note("C5", 4, "quarter") + note("", 4, "quarter") + note("", 2, "eighth") + note("", 1, "16th") + note("D5", 4, "quarter")},
         {"C5=3", "Q", "q", "-", "D5=3"}, ""},
        {"longer rests as several", {note("", 8, "half") + note("", 6, "quarter", "<dot/>") + note("C5", 2, "eighth"), note("", 16, "whole")},
         {"Q", "Q", "Q", "q", "C5=2", "Q", "Q", "Q", "Q"}, ""},
        {"silence nothing covers", {note("C5", 4, "quarter") + "<forward><duration>4</duration></forward>" + note("D5", 4, "quarter") + "<forward><duration>8</duration></forward>"},
         {"C5=3", "Q", "D5=3"}, ""},
        {"a rest tied over a barline is one", {note("C5", 14, "half") + note("", 2, "eighth", "<tie type=\"start\"/>"), note("", 2, "eighth", "<tie type=\"stop\"/>") + note("D5", 4, "quarter")},
         {"C5=4", "Q", "D5=3"}, ""},
        {"a rest while another voice sounds", {note("C5", 16, "whole") + Back16 + note("", 8, "half", V2) + note("E4", 8, "half", V2)},
         {"C5=5", "E4=4"}, ""},
    });
}

TEST(MusicXmlImport, TiesChordsAndVoicesMergedByTime)
{
    expectRead({
        {"tied over a barline: the value of the whole", {note("C5", 8, "half") + note("G4", 8, "half", "<tie type=\"start\"/>"), note("G4", 8, "half", "<tie type=\"stop\"/>")},
         {"C5=4", "G4=5"}, ""},
        {"a tie whose whole is no value", {note("C5", 4, "quarter", "<notations><tied type=\"start\"/></notations>") + note("C5", 2, "eighth", "<notations><tied type=\"stop\"/></notations>")},
         {"C5=3"}, "1 tied note written as the nearest value"},
        {"a chord and a second voice", {note("E5", 8, "half") + note("C5", 8, "half", "<chord/>") + note("D5", 8, "half") + Back16 + note("G4", 4, "quarter", V2) + note("A4", 12, "half", V2 + "<dot/>")},
         {"E5=4 C5=4 G4=3", "A4=4", "D5=4"}, "1 dot left out"},
        {"a unison of two voices and a taken line", {note("C5", 4, "quarter") + note("C#5", 4, "quarter", "<chord/>") + note("D5", 4, "quarter", "<chord/>") + Back16 + note("C5", 2, "eighth", V2)},
         {"D5=3 C5=3"}, "1 note doubling another left out; 1 note left out for want of a free line or space"},
        {"C and C sharp together: a flat spelling", {note("C5", 4, "quarter") + note("C#5", 4, "quarter", "<chord/>")},
         {"Db5=3 C5=3"}, ""},
    });
}

TEST(MusicXmlImport, OctaveMovesAndWhatHasNoPlaceInTheGrid)
{
    expectRead({
        {"out of the played range", {note("C8", 4, "quarter") + note("A1", 4, "quarter") + note("B6", 4, "quarter") + note("A2", 4, "quarter")},
         {"C6=3", "A2=3", "B6=3", "A2=3"}, "1 note moved 2 octaves down; 1 note moved an octave up"},
        {"left out", {note("C5", 0, "eighth", "<grace/>") + note("D5", 4, "quarter", "<lyric><text>la</text></lyric>")
                      + "<direction><direction-type><dynamics><f/></dynamics></direction-type></direction>"
                      + "<note><unpitched><display-step>E</display-step><display-octave>4</display-octave></unpitched><duration>4</duration><type>quarter</type></note>"
                      + note("F5", 4, "quarter", "<cue/>") + "<barline><repeat direction=\"backward\"/></barline>"},
         {"D5=3"}, "1 grace note left out; 1 cue note left out; 1 unpitched note left out; 1 lyric left out; 1 dynamic left out; "
                   "1 repeat sign left out (played once); parts 2-3 left out", 2},
    });
}

// A performance: what keyrig's F12 writes, at its 120 quarters a minute (a
// semiquaver is 125 ms), played by a person: a little early and late.
TEST(MidiImport, AKeyrigTakeIsItsPitchesInTheirOrderAndRhythm)
{
    using platform::midi::packShortMessage;
    std::vector<platform::midi::TimedMessage> take = {{0, packShortMessage(0xB0, 0, 0)}, {0, packShortMessage(0xC0, 4)}};
    // key, start and end in milliseconds
    const int played[][3] = {{60, 1010, 1480}, {64, 1490, 1700}, {61, 1745, 1990}, {70, 1760, 1980}, {67, 2260, 2380},
                             {100, 2760, 3730}, {62, 3742, 3800}};
    for (const auto& [key, on, off] : played) {
        take.push_back({on * 1000LL, packShortMessage(0x90, key, 100)});
        take.push_back({off * 1000LL, packShortMessage(0x80, key, 0)});
    }
    take.push_back({1500000, packShortMessage(0x99, 36, 110)}); // a drum pad
    take.push_back({1600000, packShortMessage(0x89, 36, 0)});
    Score score;
    const ImportResult read = readMidiFile(platform::midi::standardMidiFile("take", take, 6000000), score);
    ASSERT_TRUE(read) << read.problem.toStdString();
    // A second of silence before the first note; a chord struck together; a
    // note held into the next ends there; no pause for a semiquaver's gap;
    // black keys as sharps, E6 moved down an octave.
    EXPECT_EQ(shownColumns(score), shown({"Q", "Q", "C4=3", "E4=2", "A#4=2 C#4=2", "q", "G4=1", "q", "E6=4", "D4=1"}));
    EXPECT_EQ(read.report.toStdString(), "1 note moved an octave down; 1 percussion note left out");
}

TEST(MidiImport, KeysOfAChordAreSpelledApartAndSilenceBecomesPauses)
{
    using platform::midi::packShortMessage;
    // 960 ticks a quarter at 500000 us: a semiquaver is 125 ms.
    const std::vector<platform::midi::TimedMessage> messages = {
        {0, packShortMessage(0x90, 60, 90)},       {0, packShortMessage(0x90, 61, 90)},
        {0, packShortMessage(0x90, 64, 90)},       {500000, packShortMessage(0x80, 60, 0)},
        {500000, packShortMessage(0x90, 61, 0)},   {500000, packShortMessage(0x80, 64, 0)},
        {1125000, packShortMessage(0x90, 72, 90)}, {3125000, packShortMessage(0x80, 72, 0)},
    };
    Score score;
    ASSERT_TRUE(readMidiFile(platform::midi::standardMidiFile("x", messages), score));
    // C# beside C takes the flat spelling; 5 semiquavers of silence: a quarter pause.
    EXPECT_EQ(shownColumns(score), shown({"E4=3 Db4=3 C4=3", "Q", "C5=5"}));
}

// Time in SMPTE frames: the notes' values come from the file's tempo (60
// quarters a minute here; without it, 120 would make them twice as long).
TEST(MidiImport, ASmpteFileIsReadOnItsTempo)
{
    using namespace midibytes;
    const QByteArray track = bytes({0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40, 0, 0x90, 60, 100, 0x87, 0x68, 0x80, 60, 0,
                                    0, 0x90, 62, 100, 0x8F, 0x50, 0x80, 62, 0}) + EndOfTrack;
    Score score;
    ASSERT_TRUE(readMidiFile(header(0, 1, (0xE7 << 8) | 40) + chunk("MTrk", track), score));
    EXPECT_EQ(shownColumns(score), shown({"C4=3", "D4=4"}));
}

} // namespace
