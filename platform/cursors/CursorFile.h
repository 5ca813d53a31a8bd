#pragma once
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

namespace platform::cursors {

struct CursorFrame {
    QImage image;      // ARGB32, transparent where the mask says so
    QPoint hotSpot;
    int displayMs = 0; // how long the frame shows (animated cursors)
};

// A cursor read from a .cur file (one frame) or a RIFF .ani file (its frames
// in display order).
struct CursorImage {
    std::vector<CursorFrame> frames;
    bool animated() const { return frames.size() > 1; }
};

// A loaded cursor; null means "no cursor" (a missing or broken file).
using CursorHandle = std::shared_ptr<const CursorImage>;

// Readers of outside bytes: any input gives either a cursor or null, never a
// crash, never a read outside `bytes`.
CursorHandle readCurFile(const QByteArray& bytes);
CursorHandle readAniFile(const QByteArray& bytes);
// By content (RIFF/ACON or a cursor directory), whatever the file's extension.
CursorHandle readCursor(const QByteArray& bytes);
// Loads a file; null when it is missing or cannot be read.
CursorHandle loadCursorFromFile(const QString& path);

} // namespace platform::cursors
