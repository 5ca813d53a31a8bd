#pragma once
#include <QString>

// Folder of the checked-in test fixtures.
inline QString testDataDir() { return QStringLiteral(TEST_DATA_DIR); }
