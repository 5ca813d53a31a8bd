#pragma once
#include <QString>
#include <QStringList>

// keyrig's command line: no files, only --help, --version and --midi-log FILE.
namespace CommandLine {

enum class Action { Run, Help, Version, Error };

struct Request {
    Action action = Action::Run;
    QString text; // what to print for Help, Version and Error
    QString midiLog; // --midi-log FILE: every message sent is written there too
};

// Reads the arguments after the program name.  The first --help/-h or
// --version/-v wins; any argument but --midi-log FILE is an error (Qt's own
// options are taken out by QApplication before this is asked again).
Request read(const QStringList& arguments);

} // namespace CommandLine
