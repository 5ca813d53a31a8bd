#pragma once
#include <QString>

namespace notivo {

// The --help text: usage, options, the editor's keys, the audio formats and
// the exit status, parts separated by an empty line.
QString helpText();

// "notivo <version>".
QString versionText();

} // namespace notivo
