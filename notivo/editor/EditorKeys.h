#pragma once
#include <QString>

namespace notivo {

// The editor's keys, one per line ("Ctrl+Z  Undo"), for the command-line
// help and anyone who wants them listed; the same table makes the shortcuts.
QString editorKeyList();

} // namespace notivo
