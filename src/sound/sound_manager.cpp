#include "sound/sound_manager.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/data_dir.h"
#include "core/log.h"
#include "core/show_clock.h"
#include "platform/audio_stream.h"

SoundManager::SoundManager(bool openAudio) : audioWanted(openAudio)
{
    if (!openAudio)
        return;
    std::string error;
    audioStarted = platform::startAudio(error);
    // Made before the log opens, so these lines normally go nowhere. A failed
    // start leaves the show to run without sound.
    if (!audioStarted) {
        logWrite(" -> SOUND MANAGER :: Init failed.\n");
        std::fprintf(stderr, "velmora: no audio (%s); the show runs without sound\n", error.c_str());
    } else {
        logWrite(" -> SOUND MANAGER :: FMOD initialised.\n");
    }
}

SoundManager::~SoundManager()
{
    stream.reset();
    if (audioStarted)
        platform::stopAudio();
    audioStarted = false;
}

void SoundManager::startAt(int32_t ms)
{
    startMs = ms;
}

int SoundManager::play(const char* fileName, bool loopForEver)
{
    stream.reset();
    loop = loopForEver;
    lastFrames = 0;
    this->fileName = dataFile(fileName); // the file itself; the log names it as given
    std::string error;
    bool playing = false;
    if (!audioWanted) {
        // Capture and timedemo open no device: the file is only checked, so
        // that the log reads as in a real run.
        platform::VorbisFile file;
        playing = file.open(this->fileName.c_str(), error);
    } else if (!audioStarted) {
        error = "no audio device";
    } else {
        stream = std::make_unique<platform::AudioStream>();
        int64_t startFrame = static_cast<int64_t>(startMs) * platform::kAudioRate / 1000;
        playing = stream->open(this->fileName.c_str(), startFrame, loop, error);
        if (playing)
            firstFrame = stream->firstFrame();
        else
            stream.reset();
    }
    if (!playing) {
        // The library is closed, as after any failed open; the clock runs on its own.
        if (audioStarted)
            platform::stopAudio();
        audioStarted = false;
        logWrite(" -> SOUND MANAGER :: couldn't load music file:'%s'.\n", fileName);
        std::fprintf(stderr, "velmora: music '%s' not played (%s); the show runs without sound\n",
                     this->fileName.c_str(), error.c_str());
        goSilent(startMs);
        return -1;
    }
    silent = stream == nullptr;
    if (silent)
        showclock::startMusic(startMs);
    logWrite(" -> SOUND MANAGER :: Playing '%s'.\n", fileName);
    return 0;
}

int32_t SoundManager::time()
{
    if (isPaused)
        return pausedMs;
    if (showclock::isFixedStep() || silent)
        return showclock::musicMs();
    return streamTime();
}

int32_t SoundManager::framesToMs(int64_t frames) const
{
    return static_cast<int32_t>(frames * 1000 / platform::kAudioRate);
}

int32_t SoundManager::streamTime()
{
    const bool stalled = stream->stalled();
    // The device went away or the data broke off: the time goes on from
    // where the music would be by now, without it.
    int64_t frames = stalled ? stream->dueFrames() : stream->playedFrames();
    // Never backwards, though two readings may straddle a device callback.
    lastFrames = std::max(lastFrames, frames);
    int64_t total = stream->totalFrames();
    int64_t position = firstFrame + lastFrames;
    position = loop ? position % total : std::min(position, total);
    int32_t ms = framesToMs(position);
    if (stalled) {
        std::fprintf(stderr, "velmora: the music stopped; the show goes on without sound\n");
        goSilent(ms);
        stream.reset();
    }
    return ms;
}

void SoundManager::pause()
{
    if (isPaused)
        return;
    pausedMs = time();
    isPaused = true;
    if (stream)
        stream->setPaused(true);
}

void SoundManager::resume()
{
    if (!isPaused)
        return;
    isPaused = false;
    if (seekPending)
        moveTo(pausedMs);
    else if (stream)
        stream->setPaused(false);
    else
        showclock::startMusic(pausedMs);
    seekPending = false;
}

void SoundManager::seek(int32_t ms)
{
    startMs = ms;
    if (isPaused) {
        pausedMs = ms;
        seekPending = true;
        return;
    }
    moveTo(ms);
}

void SoundManager::moveTo(int32_t ms)
{
    if (!stream) {
        showclock::startMusic(ms);
        return;
    }
    std::string error;
    // Rounded up, so that the time read back from the frame is ms itself.
    int64_t frame = (static_cast<int64_t>(ms) * platform::kAudioRate + 999) / 1000;
    if (stream->open(fileName.c_str(), frame, loop, error)) {
        firstFrame = stream->firstFrame();
        lastFrames = 0;
        return;
    }
    std::fprintf(stderr, "velmora: the music cannot move to %d ms (%s); the show goes on without sound\n", ms,
                 error.c_str());
    stream.reset();
    goSilent(ms);
}

void SoundManager::goSilent(int32_t fromMs)
{
    silent = true;
    showclock::startMusic(fromMs);
}
