#include "keyrig/KeyRepeatFilter.h"

namespace {

// An X server stamps the two halves of one repeat within a millisecond; no
// hand releases and strikes a key again that fast.
bool sameMoment(unsigned long a, unsigned long b) { return (a > b ? a - b : b - a) <= 1; }

} // namespace

KeyRepeatFilter::Action KeyRepeatFilter::press(const KeyEvent& event)
{
    if (event.autoRepeat)
        return Action::None;
    if (const auto it = down_.find(event.key); it != down_.end()) {
        const std::optional<unsigned long> releasedAt = it->second.releasedAt;
        it->second.releasedAt.reset();
        if (!releasedAt || sameMoment(*releasedAt, event.time))
            return Action::None; // still held: a repeat
        return Action::ReleaseThenPress;
    }
    if (const auto it = released_.find(event.key); it != released_.end()) {
        const bool lateRepeat = sameMoment(it->second, event.time);
        released_.erase(it);
        if (lateRepeat)
            return Action::None;
    }
    down_[event.key] = {};
    return Action::Press;
}

KeyRepeatFilter::Action KeyRepeatFilter::release(const KeyEvent& event)
{
    const auto it = down_.find(event.key);
    if (event.autoRepeat || it == down_.end() || it->second.releasedAt)
        return Action::None;
    const std::optional<bool> held = isHeld ? isHeld(event.scanCode) : std::nullopt;
    if (held.value_or(false)) {
        it->second.releasedAt = event.time;
        return Action::None;
    }
    down_.erase(it);
    if (held)
        released_[event.key] = event.time;
    return Action::Release;
}

void KeyRepeatFilter::clear()
{
    down_.clear();
    released_.clear();
}
