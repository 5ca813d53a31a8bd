#pragma once
#include <QByteArray>
#include <QString>

#include "keyrig/KeyrigSettings.h"

// The settings file config.dat: 1, 4 and 12 decimal numbers (device, banks,
// drum-pad keys), written one group per line.
namespace ConfigFile {

// Reads values in order into `settings`, which holds the defaults.  Values
// may be separated by any run of spaces, tabs and line ends, or by one comma
// (with blanks around it).  Reading stops quietly at the first missing or
// non-numeric value; what was read stays.  Programs and keys outside 0..127
// keep their defaults so they are never sent.  Returns the count of values read.
int parse(const QByteArray& bytes, KeyrigSettings& settings);

// The exact text of the file: every number with a sign position (a blank
// when not negative) and one trailing blank, each line ending in CR LF.
QByteArray format(const KeyrigSettings& settings);

// Where the file is read from and written to: beside the program when that
// folder takes new files, otherwise (and always for an installed program)
// the user's configuration folder.
QString readPath();
QString writePath();

// Reads the file at `path`; a missing or unreadable file leaves the defaults.
void read(const QString& path, KeyrigSettings& settings);

// Replaces the file at `path` through a temporary file, so a failed write
// leaves the previous file whole.  Returns false on failure (not reported).
bool write(const QString& path, const KeyrigSettings& settings);

} // namespace ConfigFile
