#pragma once
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace notivo {

using SteadyClock = std::chrono::steady_clock;

// Every wait of the editor is a continuation on this one scheduler of the
// window thread: it runs once its absolute deadline has passed, earliest
// first, ties in the order they were scheduled.  Nothing waits inside a
// handler, so one wait never holds up another.  The program uses the steady
// clock and a precise timer; tests drive their own clock.
class Scheduler {
public:
    using Continuation = std::function<void()>;
    using Ticket = std::uint64_t; // 0 is never a pending continuation

    virtual ~Scheduler() = default;
    virtual SteadyClock::time_point now() const = 0;

    // `owner` lets an object cancel what it scheduled before it goes away.
    virtual Ticket at(SteadyClock::time_point deadline, Continuation then, const void* owner = nullptr);
    Ticket after(std::chrono::milliseconds length, Continuation then, const void* owner = nullptr)
    {
        return at(now() + length, std::move(then), owner);
    }
    void cancel(Ticket ticket);
    void cancelOwnedBy(const void* owner);
    void cancelAll();

    bool idle() const { return pending_.empty(); }
    std::optional<SteadyClock::time_point> nextDeadline() const;

protected:
    // Runs every continuation whose deadline has passed, earliest first.
    void runDue();
    // The earliest deadline has changed (none: nothing is pending).
    virtual void wakeAt(std::optional<SteadyClock::time_point> deadline) = 0;

private:
    struct Key {
        SteadyClock::time_point deadline;
        Ticket ticket;
        bool operator<(const Key& o) const { return deadline != o.deadline ? deadline < o.deadline : ticket < o.ticket; }
    };
    struct Entry {
        Continuation then;
        const void* owner;
    };
    void rearm();
    std::optional<std::pair<Key, Entry>> takeFirst();

    std::map<Key, Entry> pending_;
    Ticket lastTicket_ = 0;
    bool running_ = false; // inside runDue: re-arm once at its end
};

// The steady clock with one precise single-shot timer set to the earliest
// deadline; with nothing pending no timer runs, so idle costs nothing.
class WindowScheduler : public Scheduler {
public:
    WindowScheduler();
    SteadyClock::time_point now() const override { return SteadyClock::now(); }
    bool timerRunning() const { return timer_.isActive(); }

protected:
    void wakeAt(std::optional<SteadyClock::time_point> deadline) override;

private:
    void timeout();
    QTimer timer_;
};

} // namespace notivo
