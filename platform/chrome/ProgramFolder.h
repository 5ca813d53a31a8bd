#pragma once
#include <QString>

namespace platform {

// The folder of the running program (where its cursor, picture and name files lie).
QString programFolder();

// Tests point the lookup at a fixture folder; an empty string restores the default.
void setProgramFolderOverride(const QString& folder);

// Where an installation keeps the data of `program` that runs from
// `binaryFolder`: <prefix>/share/<program> for <prefix>/bin.  Found relative
// to the binary, so a tree installed under any prefix (or moved) still works.
QString installedDataFolder(const QString& binaryFolder, const QString& program);

// The installed data folder of the running program (named by the
// application name), whether it exists or not.
QString installedDataFolder();

// True when the program runs from an installation (its installed data folder
// exists) rather than from a build tree or a folder of its own.  The folder
// of an installed program is shared by the whole system, so nothing of the
// user's is written there.
bool runsInstalled();

// A file that belongs to the program: `relative` (e.g. "pencil.cur" or
// "RurUzezize/RurUzezize Normal.ani") looked up in the program folder, then in
// the installed data folder.  Returns the first path that exists, or the
// program-folder path when none does.
QString programFile(const QString& relative);

} // namespace platform
