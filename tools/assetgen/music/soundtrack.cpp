// The show's music, data/music/drellnivar-Velmora.ogg: 207 s at 80 beats per
// minute in D minor, its sections following the show's windows. Beat n falls
// at 370 + 750 n ms; the kicks land on every beat of the show's two beat lists
// (12370 to 35620 without 22870, and 36370 to 71620). Mastered to -14 LUFS
// integrated with true peaks at or under -1 dBTP, as the encoded file measures.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "common/asset_file.h"
#include "music/mastering.h"
#include "music/ogg_reader.h"
#include "music/ogg_writer.h"
#include "music/synth.h"

using namespace synth;

namespace {

constexpr double kSeconds = 207.0;
constexpr double kBeatMs = 750.0;
constexpr double kSixteenthMs = kBeatMs / 4.0;

double beat(int n)
{
    return 370.0 + kBeatMs * n;
}

// The bar (four beats, 3 s) holding a time; bar 0 starts at 370 ms.
int barAt(double ms)
{
    return static_cast<int>(std::floor((ms - 370.0) / (4.0 * kBeatMs)));
}

struct Chord {
    int bass;       // MIDI note of the root, low
    int voices[4];  // the pad's voicing
};

const Chord Dm{38, {57, 62, 65, 69}};
const Chord Bb{34, {58, 62, 65, 70}};
const Chord F{41, {57, 60, 65, 69}};
const Chord C{36, {55, 60, 64, 67}};
const Chord Gm{43, {55, 58, 62, 67}};
const Chord A{33, {57, 61, 64, 69}};
const Chord Bbmaj7{34, {57, 58, 62, 65}};
const Chord Fmaj7{41, {57, 60, 64, 65}};

// The chords of each stretch of the show, one per bar.
const Chord& chordAt(double ms)
{
    static const Chord* main[4] = {&Dm, &Bb, &F, &C};
    static const Chord* beast[4] = {&Dm, &Dm, &Bb, &A};
    static const Chord* unleashed[4] = {&Dm, &Bb, &Gm, &A};
    static const Chord* clouds[4] = {&Bbmaj7, &Fmaj7, &C, &Dm};
    static const Chord* build[4] = {&Gm, &Bb, &C, &A};
    static const Chord* tree[4] = {&F, &C, &Dm, &Bb};
    int bar = std::max(0, barAt(ms));
    const Chord** progression = main;
    if (ms >= 36000 && ms < 54000)
        progression = beast;
    else if (ms >= 54000 && ms < 72000)
        progression = unleashed;
    else if (ms >= 72000 && ms < 95500)
        progression = clouds;
    else if (ms >= 120000 && ms < 132000)
        progression = build;
    else if (ms >= 144000 && ms < 168000)
        progression = tree;
    return *progression[bar % 4];
}

// A small deterministic sequence for melodic choices.
struct Dice {
    uint32_t state;
    int roll(int sides)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(sides));
    }
};

// ---- the sections, in show order ----------------------------------------------

// Pads through the whole show: one chord a bar, its colour set by the section.
void pads(Track& t)
{
    for (int bar = 0; beat(4 * bar) < 203000; ++bar) {
        double start = bar == 0 ? 0.0 : beat(4 * bar);
        double mid = beat(4 * bar) + 1500.0;
        float gain = 0.5f, cutoff = 1100.0f;
        if (mid < 12000) { gain = 0.55f; cutoff = 800.0f + 60.0f * bar; }
        else if (mid < 36000) { gain = 0.45f; cutoff = 1300.0f; }
        else if (mid < 72000) { gain = 0.35f; cutoff = 700.0f; }
        else if (mid < 95500) { gain = 0.6f; cutoff = 2600.0f; }
        else if (mid < 120000) { gain = 0.4f; cutoff = 1500.0f; }
        else if (mid < 132000) { gain = 0.35f + 0.03f * (bar - 40); cutoff = 800.0f + 500.0f * (bar - 40); }
        else if (mid < 144000) { gain = 0.4f; cutoff = 1200.0f; }
        else if (mid < 168000) { gain = 0.5f; cutoff = 1000.0f; }
        else if (mid < 192000) { gain = 0.35f; cutoff = 1400.0f; }
        else { gain = 0.5f; cutoff = 900.0f; }
        const Chord& chord = chordAt(beat(4 * bar) + 1.0);
        double length = beat(4 * bar + 4) - start;
        for (int v = 0; v < 4; ++v)
            pad(t, start, length, chord.voices[v], gain, cutoff, (v - 1.5f) * 0.3f);
    }
}

// 0 - 12 s: the quotation. Pad, a wind, a few far bells.
void opening(Track& t)
{
    sweep(t, 0.0, 12500.0, 300.0f, 1200.0f, 0.05f, 0.12f, 11);
    const int notes[6] = {74, 77, 76, 72, 74, 69};
    for (int i = 0; i < 6; ++i)
        bell(t, beat(4 + 2 * i), notes[i], 0.08f, i % 2 ? 0.5f : -0.5f);
}

// The offbeat bass of the mist: a short note half a beat after the kick.
void offbeatBass(Track& t, int n, float gain, float drive)
{
    double at = beat(n) + kBeatMs / 2.0;
    bass(t, at, 260.0, chordAt(at).bass + 12, gain, drive);
}

// 12.37 - 36 s: under the mist, then in the fog. Kicks on the mist beats, a
// break on beat 30 (22870 ms) with a fill, hats, offbeat bass, then an arpeggio.
void mist(Track& t)
{
    for (int n = 16; n <= 47; ++n) {
        if (n == 30) {
            // The break: no kick, no bass; a swell and a short fill lead back in.
            sweep(t, beat(30), kBeatMs, 900.0f, 7000.0f, 0.02f, 0.25f, 30);
            snare(t, beat(30) + 2 * kSixteenthMs, 0.25f, -0.2f);
            snare(t, beat(30) + 3 * kSixteenthMs, 0.35f, 0.2f);
            continue;
        }
        kick(t, beat(n), 0.9f, false);
        if (n != 29)
            hat(t, beat(n) + kBeatMs / 2.0, 0.18f, false, 0.3f);
        offbeatBass(t, n, 0.32f, 0.0f);
        if (n >= 31) {
            // In the fog: sixteenth hats, a rim on two and four.
            hat(t, beat(n) + kSixteenthMs, 0.07f, false, -0.4f);
            hat(t, beat(n) + 3 * kSixteenthMs, 0.07f, false, 0.4f);
            if (n % 2 == 1)
                snare(t, beat(n), 0.22f, 0.1f);
        }
    }
    // The fog's arpeggio: chord tones in sixteenths, slowly opening.
    for (int k = 0; beat(31) + k * kSixteenthMs < 36000; ++k) {
        double at = beat(31) + k * kSixteenthMs;
        const Chord& chord = chordAt(at);
        int voice = (k % 8 < 4) ? k % 4 : 3 - k % 4;
        float bright = 0.15f + 0.3f * static_cast<float>(k) / 200.0f;
        pluck(t, at, 150.0, chord.voices[voice] + 12, 0.11f, bright, k % 2 ? 0.45f : -0.45f);
    }
}

// 36.37 - 71.62 s: where the beast lies, then breaks loose. A heavy kick on
// every beat, backbeat snares, driven sixteenth bass; from 54 s ghost kicks,
// open hats and a lead.
void beast(Track& t)
{
    crash(t, beat(48), 0.35f, 2.5);
    crash(t, beat(72), 0.4f, 2.5);
    for (int n = 48; n <= 95; ++n) {
        const bool loose = n >= 72;
        kick(t, beat(n), 1.0f, true);
        if (n % 2 == 1)
            snare(t, beat(n), 0.55f);
        for (int s = 0; s < 4; ++s)
            hat(t, beat(n) + s * kSixteenthMs, s == 2 ? 0.16f : 0.08f, loose && s == 2, s % 2 ? 0.35f : -0.25f);
        const double root = chordAt(beat(n)).bass + 12;
        const int pattern[3] = {0, 12, 0};
        for (int s = 1; s <= 3; ++s)
            bass(t, beat(n) + s * kSixteenthMs, 120.0, root + pattern[s - 1], 0.3f, 0.6f);
        if (loose && n % 2 == 1 && n < 95)
            kick(t, beat(n) + 3 * kSixteenthMs, 0.45f, false);
    }
    // The lead over the four chords of the loose half: (start, length) in eighths.
    struct Note { int at, length, note; };
    const std::vector<Note> phrases[4] = {
        {{0, 2, 74}, {2, 1, 77}, {3, 1, 76}, {4, 2, 74}, {6, 1, 72}, {7, 1, 69}},
        {{0, 3, 70}, {3, 1, 72}, {4, 2, 74}, {6, 2, 77}},
        {{0, 2, 79}, {2, 2, 77}, {4, 1, 74}, {5, 1, 72}, {6, 2, 70}},
        {{0, 4, 73}, {4, 2, 76}, {6, 2, 69}},
    };
    for (int bar = 18; bar < 24; ++bar) {
        for (const Note& note : phrases[bar % 4])
            lead(t, beat(4 * bar) + note.at * kBeatMs / 2.0, note.length * kBeatMs / 2.0 - 40.0, note.note, 0.12f,
                 0.15f);
    }
}

// 72 - 95.5 s: in the clouds. No drums; bells over bright pads and high wind.
void clouds(Track& t)
{
    crash(t, beat(96), 0.3f, 4.0);
    sweep(t, 72000.0, 23500.0, 2000.0f, 5000.0f, 0.04f, 0.06f, 72);
    Dice dice{96};
    for (int n = 96; beat(n) < 95000; n += 2) {
        const Chord& chord = chordAt(beat(n));
        int note = chord.voices[dice.roll(4)] + 12;
        bell(t, beat(n) + (dice.roll(2) ? kBeatMs / 2.0 : 0.0), note, 0.12f, (dice.roll(9) - 4) * 0.2f);
    }
}

// 95.5 - 120 s: the mushrooms. Rolling arpeggios, a light kick on one and three.
void mushrooms(Track& t)
{
    for (int k = 0;; ++k) {
        double at = 95620.0 + k * kSixteenthMs;
        if (at >= 120000)
            break;
        const Chord& chord = chordAt(at);
        const int order[8] = {0, 1, 2, 3, 2, 1, 3, 1};
        int note = chord.voices[order[k % 8]] + 12 + (k % 16 >= 8 ? 12 : 0);
        float bright = 0.35f + 0.25f * static_cast<float>(std::sin(k * 0.05));
        pluck(t, at, 170.0, note, 0.13f, bright, k % 2 ? 0.5f : -0.5f);
    }
    for (int n = 128; beat(n) < 120000; ++n) {
        if (n % 2 == 0)
            kick(t, beat(n), 0.6f, false);
        hat(t, beat(n) + kBeatMs / 2.0, 0.1f, false, 0.2f);
        if (n % 4 == 0)
            bass(t, beat(n), 1400.0, chordAt(beat(n)).bass + 12, 0.25f, 0.0f);
    }
}

// 120 - 132 s: the build. Kicks growing, a snare roll speeding up, a rising
// sweep; everything lands on one big hit at 132.0 s.
void build(Track& t)
{
    sweep(t, 120000.0, 12000.0, 200.0f, 9000.0f, 0.03f, 0.45f, 120);
    for (int n = 160; n <= 175; ++n) {
        float x = static_cast<float>(n - 160) / 15.0f;
        kick(t, beat(n), 0.5f + 0.45f * x, false);
        bass(t, beat(n) + kBeatMs / 2.0, 250.0, chordAt(beat(n)).bass + 12, 0.22f + 0.1f * x, 0.3f * x);
    }
    double step = kBeatMs / 2.0;
    for (double at = beat(160); at < 131950.0; at += step) {
        if (at >= beat(168))
            step = kSixteenthMs;
        if (at >= beat(172))
            step = kSixteenthMs / 2.0;
        float x = static_cast<float>((at - 120000.0) / 12000.0);
        snare(t, at, 0.1f + 0.4f * x, 0.0f);
    }
    // The hit, the loudest moment of the show once mastered: the sub drop
    // takes the limiter's headroom while adding little loudness, the crash the other way round.
    const double hit = 132000.0;
    kick(t, hit, 1.1f, true);
    boom(t, hit, 0.3f);
    crash(t, hit, 0.75f, 5.0);
    snare(t, hit, 0.6f);
    for (int v = 0; v < 4; ++v)
        pluck(t, hit, 900.0, Dm.voices[v] + 12, 0.2f, 1.0f, (v - 1.5f) * 0.4f);
}

// 132 - 144 s: the roots after the hit. A half-time groove.
void roots(Track& t)
{
    for (int n = 176; beat(n) < 143900; ++n) {
        if (n % 4 == 0 || (n % 4 == 3))
            kick(t, beat(n), 0.8f, false);
        if (n % 4 == 2)
            snare(t, beat(n), 0.5f);
        hat(t, beat(n), 0.06f, false, -0.3f);
        hat(t, beat(n) + kBeatMs / 2.0, 0.12f, false, 0.3f);
        if (n % 2 == 0)
            bass(t, beat(n) + kBeatMs / 2.0, 600.0, chordAt(beat(n)).bass + 12, 0.28f, 0.2f);
    }
}

// 144 - 168 s: the tree. Calm: a slow plucked melody over pads and long bass.
void tree(Track& t)
{
    Dice dice{144};
    int degree = 2;
    for (int n = 192; beat(n) < 167500; ++n) {
        const Chord& chord = chordAt(beat(n));
        if (n % 4 == 0)
            bass(t, beat(n), 2900.0, chord.bass + 12, 0.2f, 0.0f);
        degree = std::clamp(degree + dice.roll(3) - 1, 0, 3);
        int octave = (n / 8) % 2 ? 12 : 0;
        pluck(t, beat(n), 600.0, chord.voices[degree] + 12 + octave, 0.15f, 0.25f, (dice.roll(5) - 2) * 0.2f);
        if (n % 8 == 6)
            bell(t, beat(n) + kBeatMs / 2.0, chord.voices[3] + 24, 0.05f, 0.6f);
    }
}

// 168 - 192 s: the greetings' groove.
void groove(Track& t)
{
    for (int n = 224; beat(n) < 192000; ++n) {
        const Chord& chord = chordAt(beat(n));
        if (n % 4 == 0 || n % 4 == 2)
            kick(t, beat(n), 0.85f, false);
        if (n % 4 == 2)
            kick(t, beat(n) + kBeatMs / 2.0, 0.5f, false);
        if (n % 2 == 1)
            snare(t, beat(n), 0.45f, 0.05f);
        for (int s = 0; s < 4; ++s)
            hat(t, beat(n) + s * kSixteenthMs + (s % 2 ? 20.0 : 0.0), s % 2 ? 0.06f : 0.1f, false,
                s % 2 ? 0.4f : -0.2f);
        bass(t, beat(n) + kBeatMs / 2.0, 220.0, chord.bass + 12, 0.3f, 0.25f);
        if (n % 2 == 0)
            bass(t, beat(n) + 3 * kSixteenthMs, 120.0, chord.bass + 19, 0.2f, 0.25f);
        if (n % 2 == 1)
            for (int v = 1; v < 4; ++v)
                pluck(t, beat(n) + kBeatMs / 2.0, 140.0, chord.voices[v] + 12, 0.07f, 0.6f, (v - 2) * 0.5f);
    }
}

// 192 - 203 s: the recall. Bells over the pad, fading out.
void outro(Track& t)
{
    const int notes[6] = {74, 72, 69, 70, 69, 62};
    for (int i = 0; i < 6; ++i)
        bell(t, beat(256 + 2 * i), notes[i], 0.1f, i % 2 ? 0.4f : -0.4f);
    sweep(t, 192000.0, 11000.0, 1500.0f, 300.0f, 0.08f, 0.0f, 192);
}

constexpr double kTargetLufs = -14.0;
constexpr double kMostTruePeak = -1.0; // dBTP
// What the file aims at, under the most: libebur128's four-times oversampling
// reads the encoder's peaks on the crash of the hit up to 0.8 dB lower than a
// finer interpolation (ffmpeg's) does.
constexpr double kFileTruePeak = kMostTruePeak - 1.0;

// The fades, interleaved for the mastering and the encoder.
std::vector<float> fadedMix(const Track& t)
{
    std::vector<float> out(static_cast<size_t>(t.frames) * 2);
    for (int64_t i = 0; i < t.frames; ++i) {
        double ms = static_cast<double>(i) * 1000.0 / kRate;
        float fade = static_cast<float>(std::clamp(ms / 2000.0, 0.0, 1.0) *
                                        std::clamp((203000.0 - ms) / 7000.0, 0.0, 1.0));
        out[static_cast<size_t>(i) * 2] = t.left[static_cast<size_t>(i)] * fade;
        out[static_cast<size_t>(i) * 2 + 1] = t.right[static_cast<size_t>(i)] * fade;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    auto started = std::chrono::steady_clock::now();
    Track track(kSeconds);
    pads(track);
    opening(track);
    mist(track);
    beast(track);
    clouds(track);
    mushrooms(track);
    build(track);
    roots(track);
    tree(track);
    groove(track);
    outro(track);
    addReverb(track, 0.3f);
    std::vector<float> mix = fadedMix(track);
    auto synthesised = std::chrono::steady_clock::now();

    // The encoder adds peaks of its own: the peak aimed at before it starts
    // lower than the file's and goes down until the decoded file meets it.
    std::string ogg;
    double aim = kFileTruePeak - 1.4;
    for (int attempt = 1;; ++attempt) {
        mastering::Result mastered = mastering::master(mix, kRate, kTargetLufs, aim);
        ogg = assetgen::encodeOggVorbis(mastered.samples, 2, kRate, 0.5f);
        std::vector<float> decoded;
        int channels = 0, rate = 0;
        if (ogg.empty() || !assetgen::decodeOggVorbis(ogg, decoded, channels, rate) || channels != 2) {
            std::fprintf(stderr, "soundtrack: the Vorbis encoder refused the format\n");
            return 1;
        }
        mastering::Loudness file = mastering::measure(decoded, rate);
        std::printf("soundtrack: mastered to %.2f LUFS, %.2f dBTP (gain %+.2f dB, limiter at %.2f dBFS taking off "
                    "up to %.1f dB); encoded %.2f LUFS, %.2f dBTP\n",
                    mastered.loudness.integrated, mastered.loudness.truePeak, mastered.gainDb, mastered.ceilingDb,
                    mastered.deepestDb, file.integrated, file.truePeak);
        bool met = mastered.met && std::fabs(file.integrated - kTargetLufs) <= 0.5 && file.truePeak <= kFileTruePeak;
        if (met)
            break;
        if (attempt == 4) {
            std::fprintf(stderr, "soundtrack: the mastering cannot meet %.0f LUFS and %.1f dBTP\n", kTargetLufs,
                         kFileTruePeak);
            return 1;
        }
        aim -= std::max(0.1, file.truePeak - kFileTruePeak + 0.1);
    }
    assetgen::writeFile(dirs.data + "/music/drellnivar-Velmora.ogg", ogg);
    auto done = std::chrono::steady_clock::now();
    auto seconds = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
    std::printf("soundtrack: %.0f s of music, %zu kB, synthesis %.1f s, mastering and encoding %.1f s\n", kSeconds,
                ogg.size() / 1024, seconds(started, synthesised), seconds(synthesised, done));
    return 0;
}
