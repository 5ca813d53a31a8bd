#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "notivo/cli/CommandLine.h"
#include "notivo/cli/HelpText.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WriteFaults.h"

using testfiles::readAll;
using testfiles::writeFile;

using notivo::CommandLine;
using Action = notivo::CommandLine::Action;

namespace {

TEST(CommandLine, ArgumentsGiveTheAction)
{
    struct Case {
        QStringList arguments;
        Action action;
        QString file, out, in;
        int tempo = 110, instrument = 0;
    };
    const std::vector<Case> cases = {
        {{}, Action::Edit},
        {{"song.txt"}, Action::Edit, "song.txt"},
        {{"--", "-odd.txt"}, Action::Edit, "-odd.txt"},
        {{"--help"}, Action::Help},
        {{"song.txt", "-h"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"--export", "o.mid", "i.txt"}, Action::Export, {}, "o.mid", "i.txt"},
        {{"--export", "o.wav", "i.txt", "--tempo", "0", "--instrument=174"}, Action::Export, {}, "o.wav", "i.txt", 0, 174},
        {{"--tempo=180", "--export", "o.mid", "i.txt"}, Action::Export, {}, "o.mid", "i.txt", 180},
        {{"--export", "o.mid"}, Action::Error},
        {{"--export", "o.mid", "i.txt", "x.txt"}, Action::Error},
        {{"--export", "o.mid", "i.txt", "--tempo", "181"}, Action::Error},
        {{"--export", "o.mid", "i.txt", "--tempo", "-1"}, Action::Error},
        {{"--export", "o.mid", "i.txt", "--instrument", "175"}, Action::Error},
        {{"--export", "o.mid", "i.txt", "--instrument", "1.5"}, Action::Error},
        {{"--export", "o.mid", "i.txt", "--tempo"}, Action::Error},
        {{"--tempo", "100"}, Action::Error},
        {{"a.txt", "b.txt"}, Action::Error},
        {{"--frobnicate"}, Action::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine command = notivo::parseCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action);
        EXPECT_EQ(command.scoreFile, c.file);
        EXPECT_EQ(command.exportOut, c.out);
        EXPECT_EQ(command.exportIn, c.in);
        if (c.action == Action::Export) {
            EXPECT_EQ(command.settings.tempoValue, c.tempo);
            EXPECT_EQ(command.settings.instrument, c.instrument);
        }
        EXPECT_EQ(command.error.isEmpty(), c.action != Action::Error) << command.error.toStdString();
        EXPECT_FALSE(command.error.contains('\n'));
    }
    // A single-dash option may be the window toolkit's (-platform offscreen).
    EXPECT_TRUE(notivo::parseCommandLine({"-platform", "offscreen"}).toolkitOption);
    EXPECT_FALSE(notivo::parseCommandLine({"--platform"}).toolkitOption);
}

TEST(CommandLine, HelpNamesEveryOptionAndVersionTheProgram)
{
    const QString help = notivo::helpText();
    for (const char* option : {"--export OUT IN", "--tempo", "--instrument", "--help", "--version", "Usage: notivo"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(help.contains(QStringLiteral("Audio formats this installation writes: wav")));
    for (const char* keys : {"Ctrl+Z ", "Ctrl+Shift+Z, Ctrl+Y ", "Space ", "Esc ", "Ctrl+Down ", "7 "})
        EXPECT_TRUE(help.contains(QLatin1String("\n  ") + QLatin1String(keys))) << keys;
    EXPECT_EQ(notivo::versionText(), QStringLiteral("notivo " PROGRAM_VERSION "\n"));
}

struct ExportRun {
    int status;
    QString errors;
};

ExportRun exportWith(const QStringList& arguments)
{
    QString errors;
    QTextStream stream(&errors);
    const CommandLine command = notivo::parseCommandLine(arguments);
    EXPECT_EQ(command.action, Action::Export);
    const int status = notivo::runExport(command, stream);
    return {status, errors};
}

TEST(CommandLine, ExportConvertsAndFailsWithOneLineAndNoFile)
{
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("good.txt"));
    const QString bad = folder.filePath(QStringLiteral("bad.txt"));
    ASSERT_TRUE(writeFile(good, "Tone01: 3\r\n")); // a quarter note in column 1
    ASSERT_TRUE(writeFile(bad, "Tone01: 3 x\r\n"));
    const QString readOnly = folder.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("locked")));

    const ExportRun ok = exportWith({"--export", folder.filePath("out.mid"), good});
    EXPECT_EQ(ok.status, 0);
    EXPECT_TRUE(ok.errors.isEmpty());
    EXPECT_TRUE(readAll(folder.filePath("out.mid")).startsWith("MThd"));
    // Any readable type converts to any writable one: the MusicXML and the
    // MIDI file just written become score files again; a conversion that
    // changes something says what in one line.
    // The quarter note comes back from MIDI as a quaver: it plays 270 ms, a quaver at 120 a minute 250.
    for (const auto& [type, firstLine] : {std::pair{"musicxml", "Tone01: 3\r\n"}, std::pair{"mid", "Tone01: 2\r\n"}}) {
        const QString from = folder.filePath(QStringLiteral("out.") + QLatin1String(type));
        exportWith({"--export", from, good});
        const ExportRun back = exportWith({"--export", folder.filePath("back.txt"), from});
        EXPECT_EQ(back.status, 0) << type;
        EXPECT_TRUE(back.errors.isEmpty()) << back.errors.toStdString();
        EXPECT_TRUE(readAll(folder.filePath("back.txt")).startsWith(firstLine)) << type;
    }
    const QString dotted = folder.filePath(QStringLiteral("dotted.musicxml"));
    ASSERT_TRUE(writeFile(dotted, "<score-partwise><part id='P1'><measure><note><pitch><step>C</step><octave>5</octave>"
                                  "</pitch><duration>6</duration><type>quarter</type><dot/></note></measure></part></score-partwise>"));
    const ExportRun changed = exportWith({"--export", folder.filePath("dotted.txt"), dotted});
    EXPECT_EQ(changed.status, 0);
    EXPECT_EQ(changed.errors, QStringLiteral("notivo: \"%1\": 1 dot left out\n").arg(dotted));
    const QString notMidi = folder.filePath(QStringLiteral("none.mid"));
    ASSERT_TRUE(writeFile(notMidi, "not MIDI"));

    struct Case {
        const char* what;
        QStringList arguments;
        QString out;
        std::function<std::shared_ptr<void>()> fault;
    };
    const std::vector<Case> cases = {
        {"missing score", {"--export", folder.filePath("a.mid"), folder.filePath("missing.txt")}, folder.filePath("a.mid")},
        {"invalid score", {"--export", folder.filePath("b.mid"), bad}, folder.filePath("b.mid")},
        {"MIDI file that is none", {"--export", folder.filePath("b.txt"), notMidi}, folder.filePath("b.txt")},
        {"unknown extension", {"--export", folder.filePath("c.mp3"), good}, folder.filePath("c.mp3")},
        {"folder that does not exist", {"--export", folder.filePath("no/d.mid"), good}, folder.filePath("no/d.mid")},
        {"unwritable target", {"--export", readOnly + "/e.musicxml", good}, readOnly + "/e.musicxml",
         [&] { return std::make_shared<writefaults::ReadOnlyFolder>(readOnly); }},
        {"full disk", {"--export", folder.filePath("f.wav"), good}, folder.filePath("f.wav"),
         [] { return std::make_shared<writefaults::FileSizeLimit>(100); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExportRun run;
        {
            const std::shared_ptr<void> guard = c.fault ? c.fault() : nullptr;
            run = exportWith(c.arguments);
        }
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.errors.startsWith(QStringLiteral("notivo: "))) << run.errors.toStdString();
        EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(c.out));
    }
}

} // namespace
