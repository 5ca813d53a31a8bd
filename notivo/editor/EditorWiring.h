#pragma once

// Wiring of the editor's editing, palette, playback, timer and tip handlers,
// one function per file that owns the handlers (all run from
// frmEditor::connectEditingHandlers while the window is being built).
namespace notivo {

class frmEditor;

void connectPalette(frmEditor& editor);    // frmEditor_Palette.cpp
void connectStaffMouse(frmEditor& editor); // frmEditor_Mouse.cpp
void connectPlayback(frmEditor& editor);   // frmEditor_Playback.cpp
void connectTimer(frmEditor& editor);      // frmEditor_Timer.cpp
void connectShortcuts(frmEditor& editor);  // frmEditor_Keys.cpp
void assignControlTips(frmEditor& editor); // frmEditor_CoolTips.cpp: each control's title and text

// Mouse buttons and keys as the handlers receive them: 1 left, 2 right,
// 4 middle (added up for a move with several held); 1 Shift, 2 Ctrl, 4 Alt.
int buttonCode(int qtButtons);
int shiftCode(int qtModifiers);

} // namespace notivo
