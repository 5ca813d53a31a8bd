#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/RecorderMidi.h"

namespace soak {

// Run length and seed come from the environment so that a failing run can be
// repeated exactly: SOAK_SECONDS (default 40, for each seed) and SOAK_SEED.
inline std::chrono::seconds duration()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("SOAK_SECONDS", &ok);
    return std::chrono::seconds(ok && seconds > 0 ? seconds : 40);
}

// The seeds of a run: SOAK_SEED alone when it is set; otherwise every seed
// of `regressions` (each found a fault once, mended since), then a new one.
inline std::vector<std::uint32_t> seeds(std::vector<std::uint32_t> regressions)
{
    bool ok = false;
    const std::uint32_t chosen = qgetenv("SOAK_SEED").toUInt(&ok);
    if (ok)
        return {chosen};
    regressions.push_back(std::random_device{}());
    return regressions;
}

// Says which seed a run goes with, so that a failing run can be repeated.
inline std::uint32_t announce(const char* name, std::uint32_t seed)
{
    std::printf("%s: seed %u (repeat with SOAK_SEED=%u)\n", name, seed, seed);
    std::fflush(stdout);
    return seed;
}

// One note message as the recorder saw it.
struct Note {
    std::size_t index; // place among all the recorded messages
    int device;
    int channel;
    int key;
    int velocity;
    bool on; // status 0x9n; 0x8n is off
};

inline std::vector<Note> notes(const platform::midi::RecorderMidiService& recorder)
{
    std::vector<Note> out;
    const std::vector<platform::midi::RecordedMessage> all = recorder.messages();
    for (std::size_t index = 0; index < all.size(); ++index) {
        const auto& m = all[index];
        const int status = m.packed & 0xFF;
        const int kind = status & 0xF0;
        if (kind != 0x80 && kind != 0x90)
            continue;
        out.push_back(Note{index, m.device, status & 0x0F, int(m.packed >> 8) & 0x7F, int(m.packed >> 16) & 0x7F,
                           kind == 0x90});
    }
    return out;
}

// How note-offs pair with note-ons.
enum class Pairing {
    // Each note-on needs a note-off of its own on its device.  A note-off of
    // a silent key is harmless: a key let go after a port change ended its
    // note sends one (for the key number of the new base key).
    EveryOnItsOwnOff,
    // A note-off silences its key however often it was struck (a re-strike of
    // a sounding key needs no note-off first); a note-off of a silent key is
    // harmless.
    OffReleasesTheKey,
};

// Walks the note messages keeping the sounding notes per device, channel and
// key.  Returns the problems found: empty when every note-on has been matched
// by a note-off at the end.  `counts` leaves out messages that are not paired.
inline std::vector<std::string> unmatchedNotes(const std::vector<Note>& messages, Pairing pairing,
                                               const std::function<bool(const Note&)>& counts = {})
{
    // Per device, channel and key: the positions of the note-ons still sounding.
    std::map<std::tuple<int, int, int>, std::vector<std::size_t>> sounding;
    std::vector<std::string> problems;
    auto where = [](const Note& n) {
        return "device " + std::to_string(n.device) + " channel " + std::to_string(n.channel) + " key " +
               std::to_string(n.key);
    };
    for (std::size_t index = 0; index < messages.size(); ++index) {
        const Note& n = messages[index];
        if (counts && !counts(n))
            continue;
        std::vector<std::size_t>& on = sounding[{n.device, n.channel, n.key}];
        if (n.on)
            on.push_back(index);
        else if (pairing == Pairing::OffReleasesTheKey)
            on.clear();
        else if (!on.empty())
            on.pop_back();
    }
    for (const auto& [key, on] : sounding) {
        if (!on.empty())
            problems.push_back("left sounding: " + where(messages[on.front()]) + " (" + std::to_string(on.size()) +
                               " note-on without note-off, the first at note message " +
                               std::to_string(on.front()) + " of " + std::to_string(messages.size()) + ")");
    }
    return problems;
}

// A hand on the mouse: presses, drags and releases of every button at random
// points of every control of a real window, the edges included.  The events
// enter where the window system's would, so the control under the pointer
// gets the press and keeps the drag, as with a real pointer; nothing else
// runs between the events of one gesture unless a handler runs it.
class RandomMouse {
public:
    // `leaveOut` names the controls a gesture must not start on (those that end the program).
    RandomMouse(QWidget* window, std::mt19937& rng, std::function<bool(const QWidget*)> leaveOut = {})
        : window_(window), rng_(rng), leaveOut_(std::move(leaveOut))
    {
    }

    // One gesture: a press on a random point of a random control (the bare
    // window counts as one), up to five moves over it, another control or
    // anywhere, now and then a second button, then the release.  Returns the
    // control pressed.
    QWidget* gesture()
    {
        const std::vector<QWidget*> targets = controls();
        QWidget* target = targets[pick(targets.size())];
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const Qt::MouseButton button = buttons[pick(4)];
        QPoint at = pointIn(target);
        send(QEvent::MouseButtonPress, button, at);
        for (std::size_t moves = pick(6); moves > 0; --moves) {
            const std::size_t where = pick(4);
            at = where < 2 ? pointIn(target) : where == 2 ? pointIn(targets[pick(targets.size())]) : pointIn(window_);
            send(QEvent::MouseMove, Qt::NoButton, at);
            if (pick(10) == 0) {
                const Qt::MouseButton second = button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
                send(QEvent::MouseButtonPress, second, at);
                send(QEvent::MouseButtonRelease, second, at);
            }
        }
        send(QEvent::MouseButtonRelease, button, at);
        ++gestures_;
        return target;
    }

    long gestures() const { return gestures_; }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    std::vector<QWidget*> controls() const
    {
        std::vector<QWidget*> out{window_};
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (!w->isWindow() && w->isVisible() && w->width() > 0 && w->height() > 0 && !(leaveOut_ && leaveOut_(w)))
                out.push_back(w);
        }
        return out;
    }

    // A point of `control` in window coordinates, often on its border.
    QPoint pointIn(QWidget* control)
    {
        const QRect r = control->rect();
        auto along = [this](int low, int high) {
            const std::size_t edge = pick(4);
            if (edge == 0)
                return low;
            if (edge == 1)
                return high;
            return std::uniform_int_distribution<int>(low, high)(rng_);
        };
        const QPoint local(along(r.left(), r.right()), along(r.top(), r.bottom()));
        const QPoint at = control == window_ ? local : control->mapTo(window_, local);
        return QPoint(std::clamp(at.x(), 0, window_->width() - 1), std::clamp(at.y(), 0, window_->height() - 1));
    }

    void send(QEvent::Type type, Qt::MouseButton button, QPoint at)
    {
        if (type == QEvent::MouseButtonPress)
            held_ |= button;
        else if (type == QEvent::MouseButtonRelease)
            held_ &= ~Qt::MouseButtons(button);
        // Mostly far apart in time; now and then quick enough for a double click.
        timestamp_ += pick(4) == 0 ? 50 : 1000;
        QWindow* handle = window_->windowHandle();
        if (handle)
            qt_handleMouseEvent(handle, QPointF(at), handle->mapToGlobal(QPointF(at)), held_, button, type,
                                Qt::NoModifier, timestamp_);
    }

    QWidget* window_;
    std::mt19937& rng_;
    std::function<bool(const QWidget*)> leaveOut_;
    Qt::MouseButtons held_;
    int timestamp_ = 0;
    long gestures_ = 0;
};

// Answers every pop-up that opens (checked every millisecond, also inside a
// pop-up's own event loop): a menu gets a random entry chosen, unless
// `mayChoose` refuses it, or is dismissed; other pop-ups are closed.
class PopupHand {
public:
    PopupHand(std::mt19937& rng, std::function<bool(const QAction*)> mayChoose = {},
              std::function<void()> whileOpen = {})
        : rng_(rng), mayChoose_(std::move(mayChoose)), whileOpen_(std::move(whileOpen))
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }

    long answered() const { return answered_; }

private:
    void answer()
    {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        ++answered_;
        if (whileOpen_)
            whileOpen_();
        if (auto* menu = qobject_cast<QMenu*>(popup)) {
            const QList<QAction*> actions = menu->actions();
            QAction* chosen = actions.isEmpty() ? nullptr : actions[int(rng_() % actions.size())];
            menu->close();
            if (chosen && rng_() % 5 != 0 && (!mayChoose_ || mayChoose_(chosen)))
                chosen->trigger();
            return;
        }
        popup->close();
    }

    std::mt19937& rng_;
    std::function<bool(const QAction*)> mayChoose_;
    std::function<void()> whileOpen_;
    QTimer timer_;
    long answered_ = 0;
};

} // namespace soak
