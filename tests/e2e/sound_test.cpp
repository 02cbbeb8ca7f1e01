// The music clock against a silent audio device, the files it refuses, and
// the generated soundtrack's beats.
#include <SDL.h>
#include <ebur128.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/log.h"
#include "music/ogg_writer.h"
#include "platform/audio_stream.h"
#include "sound/sound_manager.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

const std::string kSoundtrack = std::string(VELMORA_DATA_DIR) + "/music/drellnivar-Velmora.ogg";

const std::string kScratch = (fs::temp_directory_path() / ("velmora-sound-" + std::to_string(getpid()))).string();

// A tone with a click on every second, seconds long.
std::string toneFile(double seconds, int rate = 44100, int channels = 2)
{
    size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<float> samples(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        float v = 0.2f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / rate));
        if (i % static_cast<size_t>(rate) < 200)
            v += 0.5f;
        for (int c = 0; c < channels; ++c)
            samples[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] = v;
    }
    return assetgen::encodeOggVorbis(samples, channels, rate, 0.3f);
}

// Loud noise, so that most of the file is sound and not headers.
std::string noiseFile(double seconds)
{
    std::vector<float> samples(static_cast<size_t>(seconds * 44100) * 2);
    uint32_t state = 1;
    for (float& s : samples) {
        state = state * 1664525u + 1013904223u;
        s = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
    }
    return assetgen::encodeOggVorbis(samples, 2, 44100, 0.3f);
}

std::string writeScratch(const std::string& name, const std::string& bytes)
{
    fs::create_directories(kScratch);
    std::string path = kScratch + "/" + name;
    writeFile(path, bytes);
    return path;
}

// Waits until the device has played something; the position before that is 0.
int32_t firstPlayedTime(SoundManager& sound, int32_t before = 0)
{
    for (int i = 0; i < 200 && sound.time() == before; ++i)
        std::this_thread::sleep_for(5ms);
    return sound.time();
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Calls read() every step for ms of wall time, or until it returns true.
template <typename Read>
void watch(double ms, std::chrono::milliseconds step, Read read)
{
    for (auto start = std::chrono::steady_clock::now(); msSince(start) < ms && !read();)
        std::this_thread::sleep_for(step);
}

class SoundClock : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};

} // namespace

TEST_F(SoundClock, TimeTracksAMonotonicClockWithinTwoPercentOverTenSeconds)
{
    std::string path = writeScratch("twelve.ogg", toneFile(12.0));
    SoundManager sound(true);
    ASSERT_EQ(sound.play(path.c_str(), true), 0);
    int32_t first = firstPlayedTime(sound);
    ASSERT_GT(first, 0);
    auto start = std::chrono::steady_clock::now();
    int32_t previous = first, backwards = 0;
    watch(10000.0, 50ms, [&] {
        backwards += sound.time() < previous;
        previous = sound.time();
        return false;
    });
    EXPECT_EQ(backwards, 0) << "the music time went backwards";
    double wall = msSince(start);
    double music = sound.time() - first;
    EXPECT_NEAR(music / wall, 1.0, 0.02) << music << " ms of music in " << wall << " ms";
}

TEST_F(SoundClock, ALoopingStreamFallsBackToSmallTimesAfterItsEnd)
{
    std::string path = writeScratch("short.ogg", toneFile(1.5));
    SoundManager sound(true);
    ASSERT_EQ(sound.play(path.c_str(), true), 0);
    int32_t highest = 0;
    bool wrapped = false;
    watch(3000.0, 10ms, [&] {
        int32_t t = sound.time();
        EXPECT_LT(t, 1500);
        highest = std::max(highest, t);
        return wrapped = highest > 1300 && t < 300;
    });
    EXPECT_TRUE(wrapped) << "highest time " << highest;
}

TEST_F(SoundClock, StartAtSeeksTheStreamAndWrapsIntoIt)
{
    std::string path = writeScratch("twelve-seek.ogg", toneFile(12.0));
    // From 13000: one second into the second time round.
    for (auto [startAt, expected] : {std::pair{5000, 5000}, {13000, 1000}}) {
        SoundManager sound(true);
        sound.startAt(startAt);
        ASSERT_EQ(sound.play(path.c_str(), true), 0);
        int32_t t = firstPlayedTime(sound, expected);
        EXPECT_GT(t, expected) << startAt;
        EXPECT_LT(t, expected + 500) << startAt;
    }
}

TEST_F(SoundClock, PlayWritesItsLogLines)
{
    std::string good = writeScratch("good.ogg", toneFile(1.0));
    std::string missing = kScratch + "/missing.ogg";
    ASSERT_TRUE(openLog((kScratch + "/log.txt").c_str()));
    EXPECT_EQ(SoundManager(true).play(good.c_str(), true), 0);
    EXPECT_EQ(SoundManager(true).play(missing.c_str(), true), -1);
    closeLog();
    const std::string started = " -> SOUND MANAGER :: FMOD initialised.\n";
    EXPECT_EQ(readFile(kScratch + "/log.txt"), started + " -> SOUND MANAGER :: Playing '" + good + "'.\n" + started +
                                              " -> SOUND MANAGER :: couldn't load music file:'" + missing +
                                              "'.\n");
}

TEST_F(SoundClock, UnplayableFilesLeaveARunningSilentClock)
{
    std::string garbage(5000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919u) >> 3);
    fs::create_directories(kScratch + "/folder.ogg");
    const std::vector<std::string> paths = {
        writeScratch("empty.ogg", ""), kScratch + "/folder.ogg", writeScratch("garbage.ogg", garbage),
        writeScratch("headers-cut.ogg", toneFile(2.0).substr(0, 1500)),
        writeScratch("mono.ogg", toneFile(1.0, 44100, 1)), writeScratch("rate.ogg", toneFile(1.0, 22050, 2)),
        kScratch + "/absent.ogg"};
    for (const std::string& path : paths) {
        SoundManager sound(true);
        sound.startAt(1000);
        EXPECT_EQ(sound.play(path.c_str(), true), -1) << path;
        int32_t before = sound.time();
        std::this_thread::sleep_for(200ms);
        int32_t after = sound.time();
        EXPECT_GE(before, 1000) << path;
        EXPECT_GE(after - before, 150) << path;
    }
}

TEST_F(SoundClock, DamagedDataInsideAStreamNeitherHangsNorStopsTheClock)
{
    std::string valid = noiseFile(2.0);
    std::string damaged = valid;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 4000; ++i)
        damaged[i] = static_cast<char>(i * 31u);
    const std::vector<std::string> paths = {writeScratch("damaged.ogg", damaged),
                                            writeScratch("cut.ogg", valid.substr(0, valid.size() / 2))};
    for (const std::string& path : paths) {
        SoundManager sound(true);
        sound.play(path.c_str(), true);
        int32_t highest = 0, moves = 0, previous = sound.time();
        watch(2500.0, 20ms, [&] {
            int32_t t = sound.time();
            moves += t != previous;
            highest = std::max(highest, t);
            previous = t;
            return false;
        });
        EXPECT_GT(moves, 50) << path;
        EXPECT_GT(highest, 500) << path;
    }
}

TEST_F(SoundClock, TheClockGoesOnWhenTheDeviceStopsTakingData)
{
    std::string path = writeScratch("twelve-lost.ogg", toneFile(12.0));
    SoundManager sound(true);
    ASSERT_EQ(sound.play(path.c_str(), true), 0);
    ASSERT_GT(firstPlayedTime(sound), 0);
    SDL_AudioDeviceID device = 0;
    for (SDL_AudioDeviceID id = 1; id < 16 && device == 0; ++id)
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING)
            device = id;
    ASSERT_NE(device, 0u);
    // Holding the device's lock keeps its callback from running, as a device that went away.
    std::thread holder([device] {
        SDL_LockAudioDevice(device);
        std::this_thread::sleep_for(3000ms);
        SDL_UnlockAudioDevice(device);
    });
    std::this_thread::sleep_for(100ms);
    int32_t before = sound.time();
    watch(4000.0, 20ms, [&] { return sound.time(), false; }); // read on, as the frame loop does
    holder.join();
    EXPECT_GT(sound.time() - before, 3600); // no time lost to the stall
}

TEST(OggWriter, TheSameSamplesGiveTheSameBytes)
{
    std::string a = toneFile(1.0), b = toneFile(1.0);
    ASSERT_GT(a.size(), 1000u);
    EXPECT_EQ(a, b);
}

// ---- the soundtrack ------------------------------------------------------------

namespace {

// Low-band (kick) energy of each millisecond of the track.
std::vector<double> lowBandEnergy(const std::vector<int16_t>& samples)
{
    const double a = std::exp(-2.0 * M_PI * 150.0 / 44100.0);
    double y1 = 0.0, y2 = 0.0;
    size_t frames = samples.size() / 2;
    std::vector<double> energy(frames * 1000 / 44100 + 1);
    for (size_t i = 0; i < frames; ++i) {
        double x = (samples[i * 2] + samples[i * 2 + 1]) / 65536.0;
        y1 = a * y1 + (1.0 - a) * x;
        y2 = a * y2 + (1.0 - a) * y1;
        energy[i * 1000 / 44100] += y2 * y2;
    }
    return energy;
}

struct Onset {
    bool found = false;
    int at = 0;        // ms
    double rise = 0.0; // peak over the level before it
    double peak = 0.0;
};

// The low-band attack near ms: the level just before, the peak just after,
// and where the energy first crosses a quarter of the way up.
Onset onsetNear(const std::vector<double>& energy, int ms)
{
    Onset onset;
    double before = 0.0;
    for (int m = ms - 60; m < ms - 15; ++m)
        before += energy[static_cast<size_t>(m)];
    before /= 45.0;
    for (int m = ms - 10; m <= ms + 40; ++m)
        onset.peak = std::max(onset.peak, energy[static_cast<size_t>(m)]);
    onset.rise = onset.peak / std::max(before, 1e-12);
    double threshold = before + 0.25 * (onset.peak - before);
    for (int m = ms - 30; m <= ms + 40; ++m) {
        if (energy[static_cast<size_t>(m)] > threshold) {
            onset.at = m;
            onset.found = true;
            break;
        }
    }
    return onset;
}

// Every 750 ms from 12370, 23620 and 36370, 14, 17 and 48 beats.
std::vector<int> showBeats()
{
    std::vector<int> beats;
    for (auto [first, count] : {std::pair{12370, 14}, {23620, 17}, {36370, 48}})
        for (int k = 0; k < count; ++k)
            beats.push_back(first + 750 * k);
    return beats;
}

} // namespace

TEST(Soundtrack, IsStereo44100HzLongerThanTheShowAndAKickStartsWithinTenMillisecondsOfEveryBeatButNoneAt22870)
{
    std::vector<int16_t> samples;
    std::string error;
    ASSERT_TRUE(platform::decodeVorbisFile(kSoundtrack.c_str(), samples, error)) << error;
    EXPECT_GE(samples.size() / 2, static_cast<size_t>(206 * 44100));
    // About 128 kbit/s.
    double kbits = static_cast<double>(fs::file_size(kSoundtrack)) * 8.0 / 1000.0 / (samples.size() / 2 / 44100.0);
    EXPECT_GT(kbits, 90.0);
    EXPECT_LT(kbits, 170.0);

    std::vector<double> energy = lowBandEnergy(samples);
    std::vector<double> peaks;
    for (int beat : showBeats()) {
        Onset onset = onsetNear(energy, beat);
        ASSERT_TRUE(onset.found) << beat;
        EXPECT_GT(onset.rise, 8.0) << "no clear attack at " << beat;
        EXPECT_LE(std::abs(onset.at - beat), 10) << "the kick of " << beat << " starts at " << onset.at;
        peaks.push_back(onset.peak);
    }
    std::sort(peaks.begin(), peaks.end());
    double typicalKick = peaks[peaks.size() / 2];
    EXPECT_GT(peaks.front(), typicalKick * 0.3) << "a kick far weaker than the others";

    // The break: nothing of a kick's strength or attack around 22870.
    Onset gap = onsetNear(energy, 22870);
    EXPECT_LT(gap.peak, typicalKick * 0.05) << gap.peak / typicalKick;
    EXPECT_LT(gap.rise, 8.0);
}

// Measured with the reference meter over the file as the program decodes it.
TEST(Soundtrack, IsMasteredToMinus14LufsWithTruePeaksUnderMinus1DbAndItsLoudestMomentIsTheRootsFlash)
{
    std::vector<int16_t> samples;
    std::string error;
    ASSERT_TRUE(platform::decodeVorbisFile(kSoundtrack.c_str(), samples, error)) << error;
    ebur128_state* meter = ebur128_init(2, 44100, EBUR128_MODE_I | EBUR128_MODE_M | EBUR128_MODE_TRUE_PEAK);
    ASSERT_NE(meter, nullptr);
    // The momentary loudness (the last 400 ms) after every 100 ms.
    const size_t step = 4410;
    double loudest = -HUGE_VAL;
    double loudestEnd = 0.0;
    for (size_t frame = 0; frame + step <= samples.size() / 2; frame += step) {
        ebur128_add_frames_short(meter, samples.data() + frame * 2, step);
        double momentary = -HUGE_VAL;
        ebur128_loudness_momentary(meter, &momentary);
        if (momentary > loudest) {
            loudest = momentary;
            loudestEnd = static_cast<double>(frame + step) / 44100.0;
        }
    }
    double integrated = 0.0, left = 0.0, right = 0.0;
    ebur128_loudness_global(meter, &integrated);
    ebur128_true_peak(meter, 0, &left);
    ebur128_true_peak(meter, 1, &right);
    ebur128_destroy(&meter);

    EXPECT_NEAR(integrated, -14.0, 1.0);
    EXPECT_LE(20.0 * std::log10(std::max(left, right)), -1.0);
    // The flash of the roots runs from 131.01 to 132.45 s: the loudest 400 ms start within it.
    EXPECT_GE(loudestEnd - 0.4, 131.0) << loudest << " LUFS";
    EXPECT_LE(loudestEnd - 0.4, 132.45) << loudest << " LUFS";
}
