#pragma once

namespace notivo {

// The editor's commands that have keys.
enum class EditorCommand {
    Undo, Redo, New, Open, SaveAs, Print, PrintPreview, Exit,
    PlayPause, Stop, Step, Delete, MoveUp, MoveDown,
    Semiquaver, Quaver, Quarter, Half, Whole, QuaverPause, QuarterPause, Sharp, Flat,
    ScrollColumnBack, ScrollColumnOn, ScrollPageBack, ScrollPageOn, ScrollToStart, ScrollToEnd,
};

struct EditorKey {
    const char* keys;        // key sequences in Qt's portable text, separated by "; "
    const char* description; // for the command-line help
    EditorCommand command;
    bool repeats;            // held down, the key acts again (scrolling, undo)
};

// One table for the shortcuts of the window and the list in `notivo --help`.
inline constexpr EditorKey EditorKeys[] = {
    {"Ctrl+Z", "undo", EditorCommand::Undo, true},
    {"Ctrl+Shift+Z; Ctrl+Y", "redo", EditorCommand::Redo, true},
    {"Ctrl+N", "New", EditorCommand::New, false},
    {"Ctrl+O", "Open", EditorCommand::Open, false},
    {"Ctrl+S", "Save as", EditorCommand::SaveAs, false},
    {"Ctrl+P", "Print", EditorCommand::Print, false},
    {"Ctrl+Shift+P", "Print Preview", EditorCommand::PrintPreview, false},
    {"Ctrl+Q", "Exit", EditorCommand::Exit, false},
    {"Space", "Play/Pause", EditorCommand::PlayPause, false},
    {"Esc", "Stop", EditorCommand::Stop, false},
    {".", "Step", EditorCommand::Step, false},
    {"Del", "clear the selected columns", EditorCommand::Delete, false},
    {"Ctrl+Up", "Move Up", EditorCommand::MoveUp, false},
    {"Ctrl+Down", "Move Down", EditorCommand::MoveDown, false},
    {"1", "Semiquaver", EditorCommand::Semiquaver, false},
    {"2", "Quaver", EditorCommand::Quaver, false},
    {"3", "Quarter", EditorCommand::Quarter, false},
    {"4", "Half", EditorCommand::Half, false},
    {"5", "Whole", EditorCommand::Whole, false},
    {"6", "Quaver Pause", EditorCommand::QuaverPause, false},
    {"7", "Quarter Pause", EditorCommand::QuarterPause, false},
    {"S", "Sharp on or off", EditorCommand::Sharp, false},
    {"F", "Flat on or off", EditorCommand::Flat, false},
    {"Left", "scroll one column back", EditorCommand::ScrollColumnBack, true},
    {"Right", "scroll one column on", EditorCommand::ScrollColumnOn, true},
    {"PgUp", "scroll one page back", EditorCommand::ScrollPageBack, true},
    {"PgDown", "scroll one page on", EditorCommand::ScrollPageOn, true},
    {"Home", "scroll to the start", EditorCommand::ScrollToStart, false},
    {"End", "scroll to the end", EditorCommand::ScrollToEnd, false},
};

} // namespace notivo
