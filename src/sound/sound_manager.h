// The show's music and its clock. The play position of the music stream, in
// milliseconds, is the time every scene follows. When no stream plays (no
// file, a file that cannot be read, no audio device) the time runs from a
// monotonic clock started at play(), so the show still runs to its end; under
// capture and timedemo it is the fixed step and no device is opened.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class AudioStream;
}

class SoundManager {
public:
    // Starts the audio library, unless openAudio is false (capture, timedemo).
    explicit SoundManager(bool openAudio = true);
    // Closes the stream, then the audio library.
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Where the next play() starts, in ms of music time (--start).
    void startAt(int32_t ms);
    // Opens and plays the stream, looping for ever when loop is true. Returns 0
    // when it plays, -1 when it cannot (the time then runs without sound).
    int play(const char* fileName, bool loop);
    // The music time in ms: what the device has played, wrapped with the loop.
    int32_t time();

    // Holds the music and its time still (the stream pauses), or lets both go
    // on from there.
    void pause();
    void resume();
    bool paused() const { return isPaused; }
    // Moves the music and its time to ms, as startAt and play do: the stream
    // opens again there, or the silent clock restarts there. While paused the
    // time shows ms at once and the music moves on resume().
    void seek(int32_t ms);

private:
    bool audioStarted = false;
    bool audioWanted = true;
    int32_t startMs = 0;
    bool silent = true; // the time comes from the monotonic clock
    bool loop = false;
    int64_t firstFrame = 0; // where the stream started, in frames
    int64_t lastFrames = 0; // frames played since then
    std::unique_ptr<platform::AudioStream> stream;
    std::string fileName;
    bool isPaused = false;
    int32_t pausedMs = 0;
    bool seekPending = false; // a seek made while paused, for resume()

    int32_t framesToMs(int64_t frames) const;
    int32_t streamTime();
    void goSilent(int32_t fromMs);
    void moveTo(int32_t ms);
};
