#pragma once
#include "notivo/editor/frmEditor.h"

namespace notivo {

// What the editor window keeps that no control shows, for tests (and
// benchmarks) to read; the few setters put the window into a state that
// would take a long way round to reach.
class EditorProbe {
public:
    explicit EditorProbe(frmEditor& editor) : e_(editor) {}

    bool playing() const { return e_.Playing(); }
    const PlaybackEngine& playback() const { return e_.Playback; }
    const Scheduler& scheduler() const { return *e_.PlaybackTiming; }

    const std::array<platform::cursors::CursorHandle, 10>& cursorTable() const { return e_.CursorTable; }
    const platform::cursors::CursorHandle& busyCursor() const { return e_.BusyCursor; }
    const QString& canvasCursorFile() const { return e_.CanvasCursorFile; }
    std::uint8_t canvasCursorState() const { return e_.CanvasCursorState; }
    std::uint32_t helpGlyphColor() const { return e_.HelpGlyphColor; }
    std::int32_t selectionAnchorX() const { return e_.SelectionAnchorX; }
    std::int32_t selectionAnchorColumn() const { return e_.SelectionAnchorColumn; }
    std::int32_t animFrame() const { return e_.AnimFrame; }
    std::int32_t digitColour() const { return e_.DigitColour; }
    bool firstTickDone() const { return e_.FirstTickDone; }
    const std::vector<Tooltip*>& tips() const { return e_.Tips; }

    void setCanvasCursorState(std::uint8_t state) { e_.CanvasCursorState = state; }
    void forgetCanvasCursorFile() { e_.CanvasCursorFile.clear(); }
    void setBusyCursor(platform::cursors::CursorHandle cursor) { e_.BusyCursor = std::move(cursor); }
    void setAnimFrame(std::int32_t frame) { e_.AnimFrame = frame; }

private:
    frmEditor& e_;
};

} // namespace notivo
