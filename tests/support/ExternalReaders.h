#pragma once
// Debian's own readers of the files we write for other programs: mido for
// Standard MIDI Files, sox for audio, MuseScore for MusicXML.  A test that
// needs one fails (it does not skip) when the reader is missing: scripts/setup
// installs them all.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace readers {

struct ToolRun {
    bool ran = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QString& program, const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(timeoutMs) || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.err = process.readAllStandardError();
        return run;
    }
    run.ran = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// One channel message of a MIDI file as mido reads it.
struct MidoEvent {
    long long tick;   // from the start, all tracks merged
    double seconds;   // from the start, through the file's tempo map
    QString type;     // note_on (velocity > 0), note_off (also note_on with velocity 0), control_change, program_change
    int channel;
    int data1;        // note, controller or program
    int data2;        // velocity or value
};

struct MidoFile {
    bool read = false;
    int type = -1;
    int ticksPerBeat = 0;
    QString trackName;
    std::vector<MidoEvent> events;
    QString problem;
};

// Debian's python3-mido lives with the system's interpreter.
inline MidoFile readWithMido(const QString& path)
{
    static const char* script = R"(
import sys, mido
f = mido.MidiFile(sys.argv[1])
print("file", f.type, f.ticks_per_beat)
tick = 0
seconds = 0.0
tempo = 500000
for m in mido.merge_tracks(f.tracks):
    tick += m.time
    seconds += mido.tick2second(m.time, f.ticks_per_beat, tempo)
    if m.type == "set_tempo":
        tempo = m.tempo
    elif m.type == "track_name":
        print("name", m.name)
    elif m.type in ("note_on", "note_off"):
        kind = "note_on" if m.type == "note_on" and m.velocity > 0 else "note_off"
        print("event", tick, repr(seconds), kind, m.channel, m.note, m.velocity)
    elif m.type == "control_change":
        print("event", tick, repr(seconds), m.type, m.channel, m.control, m.value)
    elif m.type == "program_change":
        print("event", tick, repr(seconds), m.type, m.channel, m.program, 0)
)";
    MidoFile file;
    const ToolRun run = runTool(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!run.ran || run.exitCode != 0) {
        file.problem = QString::fromLocal8Bit(run.err);
        return file;
    }
    for (const QByteArray& line : run.out.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.value(0) == "file" && f.size() == 3) {
            file.type = f[1].toInt();
            file.ticksPerBeat = f[2].toInt();
        } else if (f.value(0) == "name") {
            file.trackName = QString::fromUtf8(line.mid(5));
        } else if (f.value(0) == "event" && f.size() == 7) {
            file.events.push_back({f[1].toLongLong(), f[2].toDouble(), QString::fromLatin1(f[3]), f[4].toInt(),
                                   f[5].toInt(), f[6].toInt()});
        }
    }
    file.read = file.type >= 0;
    return file;
}

// "RMS peak" of a stretch of an audio file, as sox measures it.
struct AudioLevel {
    bool measured = false;
    double rms = 0;
    double peak = 0;
};

inline AudioLevel soxLevel(const QString& path, double fromSeconds, double lengthSeconds)
{
    const ToolRun run = runTool(QStringLiteral("sox"), {path, QStringLiteral("-n"), QStringLiteral("trim"),
                                                        QString::number(fromSeconds), QString::number(lengthSeconds),
                                                        QStringLiteral("stat")});
    AudioLevel level;
    for (const QByteArray& line : run.err.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (line.startsWith("RMS     amplitude:") && f.size() >= 3) {
            level.rms = f[2].toDouble();
            level.measured = true;
        } else if (line.startsWith("Maximum amplitude:") && f.size() >= 3) {
            level.peak = std::max(level.peak, f[2].toDouble());
        } else if (line.startsWith("Minimum amplitude:") && f.size() >= 3) {
            level.peak = std::max(level.peak, -f[2].toDouble());
        }
    }
    return level;
}

// What soxi says of an audio file: -r rate, -c channels, -D seconds, -t type.
inline QString soxInfo(const QString& path, const char* what)
{
    return QString::fromLocal8Bit(runTool(QStringLiteral("soxi"), {QLatin1String(what), path}).out).trimmed();
}

// MusicXML as MuseScore reads it, played back into a MIDI file that mido reads.
inline MidoFile readMusicXmlWithMuseScore(const QString& musicXmlPath, const QString& midiPath)
{
    const ToolRun run = runTool(QStringLiteral("mscore3"), {QStringLiteral("-o"), midiPath, musicXmlPath}, 120000);
    if (!run.ran || run.exitCode != 0) {
        MidoFile failed;
        failed.problem = QStringLiteral("mscore3 could not read the file: ") + QString::fromLocal8Bit(run.err);
        return failed;
    }
    return readWithMido(midiPath);
}

} // namespace readers
