// The soundtrack's instruments: each note is rendered straight into a stereo
// track (dry and reverb send), from oscillators, noise, envelopes and filters.
#pragma once
#include <cstdint>
#include <vector>

namespace synth {

constexpr int kRate = 44100;

// Constant power gains of a position from -1 (left) to 1 (right).
struct Pan {
    float left, right;
    explicit Pan(float position);
};

// A stereo mix bus with a mono reverb send.
struct Track {
    explicit Track(double seconds);
    int64_t frames;
    std::vector<float> left, right, send;
    // Adds a mono sample at frame, panned, with part of it sent to the reverb.
    void add(int64_t frame, float sample, const Pan& pan, float sendLevel);
};

// Frame of a time in milliseconds.
int64_t frameAt(double ms);
double midiHz(double note);

// Deterministic white noise in [-1, 1].
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 1) {}
    float next();
};

// Resonant state-variable filter (low, band and high outputs at once).
struct Filter {
    float ic1 = 0, ic2 = 0;
    float g = 0, k = 1, a1 = 0, a2 = 0, a3 = 0;
    void set(float cutoffHz, float resonance); // resonance 0 .. 0.95
    void process(float in, float& low, float& band, float& high);
    float low(float in);
    float band(float in);
    float high(float in);
};

// Drums.
void kick(Track& t, double ms, float gain, bool heavy);
void snare(Track& t, double ms, float gain, float pan = 0.0f);
void hat(Track& t, double ms, float gain, bool open, float pan);
void crash(Track& t, double ms, float gain, double seconds);
void boom(Track& t, double ms, float gain); // the sub drop of a big hit

// Pitched voices. note is a MIDI number; lengths in milliseconds.
void bass(Track& t, double ms, double lengthMs, double note, float gain, float drive);
void pad(Track& t, double ms, double lengthMs, double note, float gain, float cutoffHz, float pan);
void pluck(Track& t, double ms, double lengthMs, double note, float gain, float brightness, float pan);
void bell(Track& t, double ms, double note, float gain, float pan);
void lead(Track& t, double ms, double lengthMs, double note, float gain, float pan);

// Noise swept from one band to another, rising in level (builds, wind).
void sweep(Track& t, double ms, double lengthMs, float fromHz, float toHz, float fromGain, float toGain,
           uint32_t seed);

// Mixes the reverb of the send bus into the dry buses.
void addReverb(Track& t, float wet);

} // namespace synth
