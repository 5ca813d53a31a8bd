#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "notivo/score/ScoreModel.h"
#include "notivo/editor/frmEditor.h"
#include "platform/midi/MidiMessage.h"
#include "platform/raster/PictureBox.h"
#include "tests/notivo/editor/EditorProbe.h"
#include "tests/notivo/editor/play_fakes.h"
#include "tests/support/RecorderMidi.h"

namespace notivo::playtest {

// A loaded editor window on its own score, sounding into a recorder, whose
// waits run on a fake clock (the preview, Step, the strip and the run).
// The dialogs and windows of the menus are the fixture's own functions,
// which a test may replace.
class EditorRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        EditorServices services;
        services.endProgram = [this] { ++endCount; };
        services.chooseOpenFile = [this](QWidget* parent, const QString& folder) { return chooseOpenFile(parent, folder); };
        services.chooseSaveFile = [this](QWidget* parent, const QString& folder) { return chooseSaveFile(parent, folder); };
        services.showPrintDialog = [this](QWidget* parent, Score& s) { showPrintDialog(parent, s); };
        clock = fakeClockFor(services);
        services.midi = &recorder;
        editor = std::make_unique<frmEditor>(score, std::move(services));
        ASSERT_TRUE(editor->Form_Load());
        editor->Timer2->stop(); // ticks are driven by hand
        clock->run(); // the start-up preview
        clock->startHere();
        recorder.clear();
    }
    void TearDown() override { editor.reset(); }

    frmEditor& e() { return *editor; }
    EditorProbe probe() { return EditorProbe(*editor); }

    // Mouse input delivered to a widget as the window system would; then
    // the waits it started go by (inside an action of the clock, the clock
    // goes on with them itself).
    void send(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF pos)
    {
        QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
        clock->run();
    }
    // A button clicked, and its waits gone by.
    void click(QAbstractButton* button)
    {
        button->click();
        clock->run();
    }
    void press(QPointF pos, Qt::MouseButton b = Qt::LeftButton)
    {
        send(editor->NoteContainerPbx, QEvent::MouseButtonPress, b, b, pos);
    }
    void release(QPointF pos, Qt::MouseButton b = Qt::LeftButton)
    {
        send(editor->NoteContainerPbx, QEvent::MouseButtonRelease, b, Qt::NoButton, pos);
    }
    void move(QPointF pos, Qt::MouseButtons held = Qt::NoButton)
    {
        send(editor->NoteContainerPbx, QEvent::MouseMove, Qt::NoButton, held, pos);
    }

    // Packed note-on / note-off of a MIDI key on channel 0.
    static std::uint32_t on(int key) { return platform::midi::packShortMessage(0x90, key, 127); }
    static std::uint32_t off(int key) { return platform::midi::packShortMessage(0x80, key, 0); }

    platform::midi::RecorderMidiService recorder{1};
    Score score;
    std::unique_ptr<frmEditor> editor;
    FakeClock* clock = nullptr; // the editor's
    int endCount = 0;
    std::function<QString(QWidget*, const QString&)> chooseOpenFile = [](QWidget*, const QString&) { return QString(); };
    std::function<QString(QWidget*, const QString&)> chooseSaveFile = [](QWidget*, const QString&) { return QString(); };
    std::function<void(QWidget*, Score&)> showPrintDialog = [](QWidget*, Score&) {};
};

} // namespace notivo::playtest
