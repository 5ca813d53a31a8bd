#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/midi/StandardMidiFile.h"

namespace platform::midi {

// The audio file types the installed synthesiser library can write, by the
// names it knows them under ("wav", "flac", "oga", ...).
std::vector<std::string> writableAudioFileTypes();

// Renders timed MIDI messages into an audio file through FluidSynth's file
// renderer, as fast as the machine allows and without any sound device.
// The work is done in slices (renderSome), so that a window can show the
// progress and offer to cancel between them.  The file is complete once
// finished() is true and the object is gone or close() was called.
class OfflineRender {
public:
    struct Settings {
        std::string soundFont;         // a SoundFont 2 file (empty: the usual search)
        std::string fileType = "wav";  // one of writableAudioFileTypes()
        int sampleRate = 44100;
        // After the last message the release tails sound on until every
        // voice has fallen silent, but no longer than this.
        std::int64_t tailMicroseconds = 2'000'000;
    };

    // `endMicroseconds`: where the performance ends (a closing rest), when
    // that is later than its last message.
    OfflineRender(std::vector<TimedMessage> messages, std::int64_t endMicroseconds, const std::string& path,
                  const Settings& settings);
    ~OfflineRender();
    OfflineRender(const OfflineRender&) = delete;
    OfflineRender& operator=(const OfflineRender&) = delete;

    // False when the renderer could not start; error() says why.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // Renders about `microseconds` more of the performance; false once the
    // whole performance and its tail are written (or on an error).
    bool renderSome(std::int64_t microseconds);
    bool finished() const { return finished_; }
    // Share of the longest possible render done so far, 0..1.
    double progress() const;
    // Audio written so far, in microseconds.
    std::int64_t renderedMicroseconds() const;
    // Closes the file (flushing what the library still holds).
    void close();

private:
    struct Fluid;
    std::unique_ptr<Fluid> fluid_;
    std::vector<TimedMessage> messages_;
    std::size_t next_ = 0;
    std::int64_t endFrame_ = 0;   // the last message or the end, in frames
    std::int64_t limitFrame_ = 0; // end plus the longest tail
    std::int64_t frame_ = 0;      // frames rendered
    int sampleRate_ = 44100;
    bool finished_ = false;
    std::string error_;
};

} // namespace platform::midi
