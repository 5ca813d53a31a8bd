#pragma once
#include <QString>

// Root of the source tree, for tests that read the files shipped with the
// programs (cursor files, instrument.txt).
inline QString sourceDir() { return QStringLiteral(SOURCE_DIR); }
