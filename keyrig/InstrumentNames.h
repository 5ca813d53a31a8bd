#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The name file instrument.txt: 128 program lines, one ignored line, then
// 32 percussion lines (keys 35..66); each line is "anything TAB name".
struct InstrumentNames {
    static constexpr int ProgramCount = 128;
    static constexpr int DrumCount = 32;
    static constexpr int FirstDrumKey = 35;

    QStringList Programs; // always ProgramCount captions
    QStringList Drums;    // always DrumCount captions

    // A missing or short file, or a line without a name, still yields every
    // caption: such entries are numbered ("Program 12", "Drum 40").
    static InstrumentNames parse(const QByteArray& bytes);
    static InstrumentNames read(const QString& path);
};
