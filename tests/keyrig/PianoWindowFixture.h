#pragma once
#include "MidiFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

#include "keyrig/PanelLabel.h"
#include "keyrig/frmPiano.h"
#include "platform/chrome/ProgramFolder.h"
#include "tests/support/TestSupport.h"

// xkb key codes (evdev + 8) of a US keyboard.
constexpr quint32 ScanZ = 52, ScanX = 53, ScanKeypad2 = 88, ScanF5 = 71, ScanF3 = 69;

// The keyboard window on the recorder device, in a program folder of its own.
class PianoWindowFixture : public MidiFixture {
protected:
    void SetUp() override
    {
        MidiFixture::SetUp();
        midi.CloseMidiOut(); // the window opens its own
        ASSERT_TRUE(folder.isValid());
        platform::setProgramFolderOverride(folder.path());
        QFile::copy(sourceDir() + "/keyrig/resources/files/instrument.txt", folder.filePath("instrument.txt"));
    }

    void TearDown() override
    {
        window.reset();
        platform::setProgramFolderOverride(QString());
        MidiFixture::TearDown();
    }

    frmPiano& open()
    {
        window = std::make_unique<frmPiano>();
        return *window;
    }

    void key(QEvent::Type type, Qt::Key qtKey, quint32 scanCode, bool autoRepeat = false,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(type, qtKey, modifiers, scanCode, 0, 0, QString(), autoRepeat);
        QApplication::sendEvent(window.get(), &event);
    }

    void mouse(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    PanelLabel* label(const char* name) { return window->findChild<PanelLabel*>(QString::fromLatin1(name)); }

    static bool waitFor(const std::function<bool()>& done, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QEventLoop loop;
            QTimer::singleShot(10, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return done();
    }

    QByteArray savedConfig() const
    {
        QFile file(folder.filePath("config.dat"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    std::unique_ptr<frmPiano> window;
};
