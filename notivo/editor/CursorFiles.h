#pragma once
#include <QString>

// The cursor files of the editor, below the program's folder.  A missing
// file leaves its window class without a cursor of its own.
namespace notivo::cursorfiles {

inline const QString Normal = QStringLiteral("RurUzezize/RurUzezize Normal.ani");
inline const QString Link = QStringLiteral("RurUzezize/RurUzezize Link.ani");
inline const QString Busy = QStringLiteral("RurUzezize/Orla's 3D Crystal Busy.ani");

// On the staff canvas, by edit mode.
inline const QString Pencil = QStringLiteral("pencil.cur");
inline const QString AnimatedDrawing = QStringLiteral("Animated.ani");
inline const QString Eraser = QStringLiteral("Erace.cur");
inline const QString Select = QStringLiteral("Selection1.cur");
inline const QString InsertGap = QStringLiteral("RurUzezize/RurUzezize Alternate2.ani");
inline const QString InsertGapOff = QStringLiteral("RurUzezize/Animated.ani");

} // namespace notivo::cursorfiles
