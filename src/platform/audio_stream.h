// The music's way out: an Ogg Vorbis file decoded by libvorbisfile on a feeder
// thread and played by an SDL2 audio device (44100 Hz, stereo, 16-bit). The
// play position counts only the frames the device has taken.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

constexpr int kAudioRate = 44100;
constexpr int kAudioChannels = 2;

// A readable Ogg Vorbis file of the show's format (44100 Hz stereo).
class VorbisFile {
public:
    VorbisFile();
    ~VorbisFile();
    VorbisFile(const VorbisFile&) = delete;
    VorbisFile& operator=(const VorbisFile&) = delete;

    // False, with a reason, for a file that is missing, a directory, not Ogg
    // Vorbis, empty, or of another rate or channel count.
    bool open(const char* path, std::string& error);
    void close();
    // Length in frames.
    int64_t totalFrames() const;
    bool seekFrame(int64_t frame);
    // Decodes up to maxFrames interleaved stereo frames. Returns the frames
    // written, 0 at the end of the stream, -1 when the data cannot be decoded.
    int read(int16_t* frames, int maxFrames);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// Decodes a whole file into interleaved stereo samples; false with a reason.
bool decodeVorbisFile(const char* path, std::vector<int16_t>& samples, std::string& error);

// Starts and stops SDL's audio subsystem.
bool startAudio(std::string& error);
void stopAudio();

// One file streaming to the audio device.
class AudioStream {
public:
    AudioStream();
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // Opens the file, seeks to startFrame (wrapped into the file when looping),
    // opens the device and starts playing. False with a reason; nothing plays then.
    bool open(const char* path, int64_t startFrame, bool loop, std::string& error);
    // Stops the device and the feeder and closes the file.
    void close();

    // Frames of the stream the device has consumed since open, counted from
    // startFrame, without wrapping; smooth between the device's callbacks.
    int64_t playedFrames() const;
    // The frames that would have played by now had the device gone on
    // taking data at its rate since its last callback.
    int64_t dueFrames() const;
    int64_t totalFrames() const;
    // Where playing began, in frames from the file's start.
    int64_t firstFrame() const;
    // Holds the device still, or lets it go on from where it stood.
    void setPaused(bool paused);
    // True once the device has gone away, or the data stopped decoding before
    // its end: the position will not move again.
    bool stalled();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
    int64_t position(bool onlyTaken) const;
};

} // namespace platform
