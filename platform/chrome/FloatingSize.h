#pragma once

class QWidget;

namespace platform::chrome {

// A window that its user resizes by its own chrome, but that a tiling window
// manager should float at its own size: its size counts as fixed (tiling
// window managers float such windows when they first place them), until a
// resize by its chrome starts.  Call before showing.
void floatAtOwnSize(QWidget* window);
// Gives the window its earlier size limits back, if it was floated so.
void allowResize(QWidget* window);

} // namespace platform::chrome
