#pragma once
#include <chrono>
#include <initializer_list>
#include <string>

#include <QString>
#include <QStringList>

namespace platform::midi {

// A time-stamped record of what reaches the built-in synthesiser and when
// it sounds, for measuring a running program from outside.  Off unless a
// program was started with "--synth-trace FILE".  Each line is
// "event microseconds [values]", steady-clock time, written at once.
namespace SynthTrace {

using Clock = std::chrono::steady_clock;

// Takes "--synth-trace FILE" or "--synth-trace=FILE" out of the arguments
// (so the program's own reader never sees it) and gives the file, or an
// empty text when the option is not there.
QString takeOption(QStringList& arguments);
// Starts the trace into `path`; says why on the error output and returns
// false when it cannot be written (the program goes on without it).
bool start(const QString& path);
bool on();
void write(const char* event, Clock::time_point time, std::initializer_list<long long> values = {});

} // namespace SynthTrace
} // namespace platform::midi
