#include "platform/audio_stream.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/stat.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace platform {

namespace {

const char* vorbisError(int code)
{
    switch (code) {
    case OV_EREAD: return "the file cannot be read";
    case OV_ENOTVORBIS: return "not an Ogg Vorbis file";
    case OV_EVERSION: return "unsupported Vorbis version";
    case OV_EBADHEADER: return "damaged Vorbis header";
    case OV_EFAULT: return "decoder fault";
    default: return "damaged Ogg Vorbis data";
    }
}

} // namespace

// ---- VorbisFile ------------------------------------------------------------

struct VorbisFile::Impl {
    OggVorbis_File file{};
    bool open = false;
    int64_t total = 0;
};

VorbisFile::VorbisFile() : impl(std::make_unique<Impl>()) {}

VorbisFile::~VorbisFile()
{
    close();
}

bool VorbisFile::open(const char* path, std::string& error)
{
    close();
    struct stat info {};
    if (stat(path, &info) != 0) {
        error = "no such file";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return false;
    }
    int result = ov_fopen(path, &impl->file);
    if (result != 0) {
        error = vorbisError(result);
        return false;
    }
    impl->open = true;
    const vorbis_info* format = ov_info(&impl->file, -1);
    if (!format || format->rate != kAudioRate || format->channels != kAudioChannels) {
        error = format ? "the music must be 44100 Hz stereo, this file is " + std::to_string(format->rate) +
                             " Hz with " + std::to_string(format->channels) + " channel(s)"
                       : "no stream information";
        close();
        return false;
    }
    impl->total = ov_seekable(&impl->file) ? ov_pcm_total(&impl->file, -1) : 0;
    if (impl->total <= 0) {
        error = "the file holds no sound";
        close();
        return false;
    }
    return true;
}

void VorbisFile::close()
{
    if (impl->open)
        ov_clear(&impl->file);
    impl->open = false;
    impl->total = 0;
}

int64_t VorbisFile::totalFrames() const
{
    return impl->total;
}

bool VorbisFile::seekFrame(int64_t frame)
{
    return impl->open && ov_pcm_seek(&impl->file, frame) == 0;
}

int VorbisFile::read(int16_t* frames, int maxFrames)
{
    if (!impl->open)
        return -1;
    const int frameBytes = kAudioChannels * 2;
    const int bigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;
    // A hole (lost pages) is skipped; a few in a row mean the data is gone.
    for (int holes = 0; holes < 64; ++holes) {
        int link = 0;
        long bytes = ov_read(&impl->file, reinterpret_cast<char*>(frames), maxFrames * frameBytes, bigEndian, 2,
                             1, &link);
        if (bytes == OV_HOLE)
            continue;
        if (bytes < 0)
            return -1;
        const vorbis_info* format = ov_info(&impl->file, link);
        if (bytes > 0 && (!format || format->channels != kAudioChannels || format->rate != kAudioRate))
            return -1; // a chained part of another format
        return static_cast<int>(bytes / frameBytes);
    }
    return -1;
}

bool decodeVorbisFile(const char* path, std::vector<int16_t>& samples, std::string& error)
{
    VorbisFile file;
    if (!file.open(path, error))
        return false;
    samples.clear();
    samples.reserve(static_cast<size_t>(file.totalFrames()) * kAudioChannels);
    int16_t chunk[4096 * kAudioChannels];
    for (;;) {
        int n = file.read(chunk, 4096);
        if (n < 0) {
            error = "damaged Ogg Vorbis data";
            return false;
        }
        if (n == 0)
            return true;
        samples.insert(samples.end(), chunk, chunk + n * kAudioChannels);
    }
}

// ---- the audio device ------------------------------------------------------

bool startAudio(std::string& error)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

void stopAudio()
{
    if (SDL_WasInit(SDL_INIT_AUDIO))
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

namespace {

constexpr int kRingFrames = 16384; // about 370 ms decoded ahead
constexpr int kChunkFrames = 1024;
constexpr int kDeviceFrames = 1024; // about 23 ms per device callback
// A device that has not asked for data for this long is taken as gone.
constexpr double kStallSeconds = 2.0;

} // namespace

struct AudioStream::Impl {
    VorbisFile file;
    bool loop = false;
    int64_t first = 0;
    SDL_AudioDeviceID device = 0;
    std::thread feeder;
    std::atomic<bool> running{false};

    // Decoded frames waiting for the device: one writer (feeder), one reader (device).
    std::vector<int16_t> ring = std::vector<int16_t>(static_cast<size_t>(kRingFrames) * kAudioChannels);
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> consumed{0};
    std::atomic<bool> decodeFailed{false};

    // What the last device callback took, published under a sequence count so
    // that a reader on another thread sees one consistent set.
    std::atomic<uint32_t> sequence{0};
    std::atomic<int64_t> framesBefore{0};
    std::atomic<int32_t> framesTaken{0};
    std::atomic<uint64_t> callbackTicks{0};
    uint64_t openTicks = 0;
    uint64_t lastAsked = 0;   // the last stalled() call, on the caller's thread
    uint64_t askingSince = 0; // since when it has been asking without long gaps

    void feed();
    void fill(int16_t* out, int frames);
};

void AudioStream::Impl::feed()
{
    pthread_setname_np(pthread_self(), "velmora-music");
    int16_t chunk[kChunkFrames * kAudioChannels];
    while (running.load(std::memory_order_acquire)) {
        uint64_t w = written.load(std::memory_order_relaxed);
        uint64_t space = kRingFrames - (w - consumed.load(std::memory_order_acquire));
        if (space < static_cast<uint64_t>(kChunkFrames)) {
            SDL_Delay(5);
            continue;
        }
        int n = file.read(chunk, kChunkFrames);
        if (n == 0 && loop && file.seekFrame(0))
            continue;
        if (n <= 0) {
            if (n < 0 || loop)
                decodeFailed.store(true, std::memory_order_release);
            break; // the end of a stream played once, or data that cannot be decoded
        }
        for (int i = 0; i < n; ++i) {
            size_t slot = static_cast<size_t>((w + i) % kRingFrames) * kAudioChannels;
            ring[slot] = chunk[i * 2];
            ring[slot + 1] = chunk[i * 2 + 1];
        }
        written.store(w + n, std::memory_order_release);
    }
}

void AudioStream::Impl::fill(int16_t* out, int frames)
{
    uint64_t r = consumed.load(std::memory_order_relaxed);
    uint64_t available = written.load(std::memory_order_acquire) - r;
    int n = static_cast<int>(std::min<uint64_t>(available, static_cast<uint64_t>(frames)));
    for (int i = 0; i < n; ++i) {
        size_t slot = static_cast<size_t>((r + i) % kRingFrames) * kAudioChannels;
        out[i * 2] = ring[slot];
        out[i * 2 + 1] = ring[slot + 1];
    }
    // An underrun plays silence and does not move the position.
    std::memset(out + n * 2, 0, static_cast<size_t>(frames - n) * kAudioChannels * sizeof(int16_t));
    consumed.store(r + n, std::memory_order_release);

    uint32_t s = sequence.load(std::memory_order_relaxed);
    sequence.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    framesBefore.store(static_cast<int64_t>(r), std::memory_order_relaxed);
    framesTaken.store(n, std::memory_order_relaxed);
    callbackTicks.store(SDL_GetPerformanceCounter(), std::memory_order_relaxed);
    sequence.store(s + 2, std::memory_order_release);
}

AudioStream::AudioStream() : impl(std::make_unique<Impl>()) {}

AudioStream::~AudioStream()
{
    close();
}

bool AudioStream::open(const char* path, int64_t startFrame, bool loop, std::string& error)
{
    close();
    if (!impl->file.open(path, error))
        return false;
    int64_t total = impl->file.totalFrames();
    startFrame = loop ? ((startFrame % total) + total) % total : std::clamp<int64_t>(startFrame, 0, total);
    impl->first = startFrame;
    if (startFrame > 0 && !impl->file.seekFrame(startFrame)) {
        error = "cannot seek in the file";
        impl->file.close();
        return false;
    }
    impl->loop = loop;

    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = kAudioChannels;
    want.samples = kDeviceFrames;
    want.userdata = impl.get();
    want.callback = [](void* userdata, Uint8* stream, int bytes) {
        static_cast<Impl*>(userdata)->fill(reinterpret_cast<int16_t*>(stream), bytes / (kAudioChannels * 2));
    };
    SDL_AudioSpec have{};
    // SDL converts to whatever the hardware wants.
    impl->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (impl->device == 0) {
        error = std::string("no audio device: ") + SDL_GetError();
        impl->file.close();
        return false;
    }
    impl->running.store(true, std::memory_order_release);
    impl->feeder = std::thread([this] { impl->feed(); });
    impl->openTicks = SDL_GetPerformanceCounter();
    SDL_PauseAudioDevice(impl->device, 0);
    return true;
}

void AudioStream::close()
{
    if (impl->device != 0) {
        SDL_CloseAudioDevice(impl->device); // waits for a running callback
        impl->device = 0;
    }
    impl->running.store(false, std::memory_order_release);
    if (impl->feeder.joinable())
        impl->feeder.join();
    impl->file.close();
    impl->written = 0;
    impl->consumed = 0;
    impl->decodeFailed = false;
    impl->sequence = 0;
    impl->framesBefore = 0;
    impl->framesTaken = 0;
    impl->callbackTicks = 0;
    impl->lastAsked = 0;
    impl->askingSince = 0;
}

int64_t AudioStream::playedFrames() const
{
    return position(true);
}

int64_t AudioStream::dueFrames() const
{
    return position(false);
}

int64_t AudioStream::position(bool onlyTaken) const
{
    int64_t before = 0;
    int32_t taken = 0;
    uint64_t ticks = 0;
    for (;;) {
        uint32_t s1 = impl->sequence.load(std::memory_order_acquire);
        before = impl->framesBefore.load(std::memory_order_relaxed);
        taken = impl->framesTaken.load(std::memory_order_relaxed);
        ticks = impl->callbackTicks.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((s1 & 1) == 0 && s1 == impl->sequence.load(std::memory_order_relaxed))
            break;
    }
    if (ticks == 0)
        return 0;
    // The frames of the last callback play out over its length.
    double seconds = static_cast<double>(SDL_GetPerformanceCounter() - ticks) /
                     static_cast<double>(SDL_GetPerformanceFrequency());
    int64_t since = static_cast<int64_t>(seconds * kAudioRate);
    return before + (onlyTaken ? std::min<int64_t>(since, taken) : since);
}

int64_t AudioStream::totalFrames() const
{
    return impl->file.totalFrames();
}

int64_t AudioStream::firstFrame() const
{
    return impl->first;
}

void AudioStream::setPaused(bool paused)
{
    if (impl->device == 0)
        return;
    SDL_PauseAudioDevice(impl->device, paused ? 1 : 0);
    // A held device is quiet on purpose: the stall watch starts afresh.
    impl->lastAsked = 0;
}

bool AudioStream::stalled()
{
    if (impl->device == 0)
        return false;
    if (SDL_GetAudioDeviceStatus(impl->device) == SDL_AUDIO_PAUSED)
        return false;
    if (SDL_GetAudioDeviceStatus(impl->device) == SDL_AUDIO_STOPPED)
        return true;
    if (impl->decodeFailed.load(std::memory_order_acquire) &&
        impl->consumed.load(std::memory_order_acquire) == impl->written.load(std::memory_order_acquire))
        return true;
    // The device counts as gone only when it stays quiet while this thread
    // keeps asking: a process that was stopped or busy resumes without a false alarm.
    const uint64_t now = SDL_GetPerformanceCounter();
    const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    if (impl->lastAsked == 0 || static_cast<double>(now - impl->lastAsked) / frequency > 0.5)
        impl->askingSince = now;
    impl->lastAsked = now;
    uint64_t last = std::max({impl->callbackTicks.load(std::memory_order_relaxed), impl->openTicks, impl->askingSince});
    return static_cast<double>(now - last) / frequency > kStallSeconds;
}

} // namespace platform
