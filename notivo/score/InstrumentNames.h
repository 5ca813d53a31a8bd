#pragma once
#include <QString>
#include <QStringList>

namespace notivo {

// The compiled-in string table: identifiers 35..81 name the General MIDI
// percussion keys, 100..227 the 128 programs (identifier = program + 100).
// An identifier outside the table gives an empty string.
QString resourceString(int id);

inline constexpr int InstrumentCount = 175; // 128 programs, then 47 drum keys

// The instrument list of the editor: entry i is "i <name>", programs 0..127
// first, then entries 128..174 for the drum keys 35..81.
QStringList instrumentList();

// The name of list entry `entry` without its number ("Acoustic Grand Piano",
// "Acoustic Bass Drum"); empty outside 0..174.
QString instrumentName(int entry);

} // namespace notivo
