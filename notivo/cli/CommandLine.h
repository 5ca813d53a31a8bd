#pragma once
#include <QString>
#include <QStringList>

#include "notivo/score/ScoreExport.h"

class QTextStream;

namespace notivo {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { Edit, Export, Help, Version, Error };
    Action action = Action::Edit;
    QString scoreFile;  // Edit: the score to open at start; empty for none
    QString exportOut;  // Export: the file to write (its extension gives the format)
    QString exportIn;   // Export: the score file to read
    ExportSettings settings;
    QString error;      // Error: one line saying what is wrong
    // Error caused by a single-dash option, which may belong to the window
    // toolkit (-platform, -style ...): worth reading again once the toolkit
    // has taken its own options out.
    bool toolkitOption = false;
};

// Reads the arguments (without the program name):
//   notivo [FILE]
//   notivo --export OUT IN [--tempo 0..180] [--instrument 0..174]
//   notivo --help | --version
// Options also take their value after "=", and "--" ends the options.
CommandLine parseCommandLine(const QStringList& arguments);

// Converts a score file without a window or sound device.  Returns the exit
// status: 0 when OUT was written, 2 after one line on `errors` saying why
// not (OUT is then left as it was).
int runExport(const CommandLine& command, QTextStream& errors);

} // namespace notivo
