#include "notivo/editor/Scheduler.h"

#include <algorithm>
#include <thread>

namespace notivo {

namespace {

// Whole milliseconds before `deadline`, rounded down: the precise timer counts
// in milliseconds and must not wake after the deadline.
long long wholeMillisecondsBefore(SteadyClock::time_point deadline, SteadyClock::time_point now)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
}

} // namespace

Scheduler::Ticket Scheduler::at(SteadyClock::time_point deadline, Continuation then, const void* owner)
{
    const Ticket ticket = ++lastTicket_;
    pending_.emplace(Key{deadline, ticket}, Entry{std::move(then), owner});
    rearm();
    return ticket;
}

void Scheduler::cancel(Ticket ticket)
{
    if (ticket == 0)
        return;
    const auto it = std::find_if(pending_.begin(), pending_.end(), [&](const auto& p) { return p.first.ticket == ticket; });
    if (it == pending_.end())
        return;
    pending_.erase(it);
    rearm();
}

void Scheduler::cancelOwnedBy(const void* owner)
{
    std::erase_if(pending_, [&](const auto& p) { return p.second.owner == owner; });
    rearm();
}

void Scheduler::cancelAll()
{
    pending_.clear();
    rearm();
}

std::optional<SteadyClock::time_point> Scheduler::nextDeadline() const
{
    if (pending_.empty())
        return std::nullopt;
    return pending_.begin()->first.deadline;
}

std::optional<std::pair<Scheduler::Key, Scheduler::Entry>> Scheduler::takeFirst()
{
    if (pending_.empty() || pending_.begin()->first.deadline > now())
        return std::nullopt;
    auto node = pending_.extract(pending_.begin());
    return std::pair{node.key(), std::move(node.mapped())};
}

void Scheduler::runDue()
{
    const bool outer = !running_;
    running_ = true;
    // Taken out before it runs: a continuation may schedule or cancel others.
    while (auto first = takeFirst())
        first->second.then();
    if (outer) {
        running_ = false;
        rearm();
    }
}

void Scheduler::rearm()
{
    if (!running_)
        wakeAt(nextDeadline());
}

WindowScheduler::WindowScheduler()
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { timeout(); });
}

void WindowScheduler::wakeAt(std::optional<SteadyClock::time_point> deadline)
{
    if (!deadline) {
        timer_.stop();
        return;
    }
    timer_.start(static_cast<int>(std::clamp<long long>(wholeMillisecondsBefore(*deadline, now()), 0, INT32_MAX)));
}

void WindowScheduler::timeout()
{
    const auto deadline = nextDeadline();
    if (!deadline)
        return;
    // A timer may wake a little early: re-armed against the same deadline.
    if (wholeMillisecondsBefore(*deadline, now()) >= 1) {
        wakeAt(deadline);
        return;
    }
    // The last fraction of a millisecond, below the timer's resolution: a
    // plain sleep, so the deadline is met without spinning.
    std::this_thread::sleep_until(*deadline);
    runDue();
}

} // namespace notivo
