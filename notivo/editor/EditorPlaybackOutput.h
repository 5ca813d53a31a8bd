#pragma once
#include "notivo/editor/PlaybackEngine.h"

namespace notivo {

class frmEditor;

// The window side of a run: sound through the editor's device, the label,
// the score's scroll bar, the play line on the canvas and the button face.
class EditorPlaybackOutput : public PlaybackOutput {
public:
    explicit EditorPlaybackOutput(frmEditor& editor) : e_(editor) {}

    void NoteOn(int v, NoteHolder holder) override;
    void NoteOff(int v, NoteHolder holder) override;
    void showNames(const QString& names) override;
    int scrollValue() const override;
    int scrollMaximum() const override;
    void setScrollValue(int value) override;
    int tempoValue() const override;
    void drawPlayLine(int x) override;
    void repaintCanvas() override;
    void showPlayFace(bool pauseBars) override;

private:
    frmEditor& e_;
};

} // namespace notivo
