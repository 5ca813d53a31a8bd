#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

// Tells a held key's auto-repeat from real presses and releases, so a held
// key is one press and one release however the display repeats it:
// - flagged repeats (Wayland's client-side repeat, pairs Qt found together
//   in its queue) are dropped;
// - X11 repeats a held key as a release and a press with the same server
//   time.  Under load the two may reach us apart, so a release is held back
//   while the display says the key is still down: the press that follows
//   settles it, a repeat when it carries the release's time, a new stroke
//   (release, then press) when it does not;
// - a repeated press without a release (XKB's detectable auto-repeat) finds
//   the key already down.
// A real release is acted on at once, and a real press is never held back.
class KeyRepeatFilter {
public:
    struct KeyEvent {
        int key = 0;                // the key's virtual-key code
        std::uint32_t scanCode = 0; // the display's own code, for asking it
        unsigned long time = 0;     // the display's time stamp, milliseconds
        bool autoRepeat = false;    // flagged as a repeat by the toolkit
    };
    enum class Action { None, Press, Release, ReleaseThenPress };

    // Whether the display has the key down right now; nullopt where it
    // cannot tell, and then every unflagged release is real.
    std::function<std::optional<bool>(std::uint32_t scanCode)> isHeld;

    Action press(const KeyEvent& event);
    Action release(const KeyEvent& event);
    // The keyboard went elsewhere: every key counts as up again.
    void clear();

private:
    struct Down {
        std::optional<unsigned long> releasedAt; // a release waiting for its press
    };
    std::map<int, Down> down_;
    // Releases acted on while the display knew the key was up: the press of
    // a repeat read late carries the same time and must not strike again.
    std::map<int, unsigned long> released_;
};
