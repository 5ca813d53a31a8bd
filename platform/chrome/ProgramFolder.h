#pragma once
#include <QString>

namespace platform {

// The folder of the running program (where its cursor, picture and name files lie).
QString programFolder();

// Tests point the lookup at a fixture folder; an empty string restores the default.
void setProgramFolderOverride(const QString& folder);

// A file that belongs to the program: `relative` (e.g. "pencil.cur" or
// "RurUzezize/RurUzezize Normal.ani") looked up in the program folder, then in
// the installed data folder <prefix>/share/<program>.  Returns the first path
// that exists, or the program-folder path when none does.
QString programFile(const QString& relative);

} // namespace platform
