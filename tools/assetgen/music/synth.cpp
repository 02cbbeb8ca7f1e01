#include "music/synth.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace synth {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double secondsOf(int64_t i)
{
    return static_cast<double>(i) / kRate;
}

int64_t framesOf(double seconds)
{
    return static_cast<int64_t>(seconds * kRate);
}

// A rise over attack seconds, flat until length, then a linear release.
float envelope(double t, double attack, double length, double release)
{
    double a = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
    if (t > length)
        a *= std::max(0.0, 1.0 - (t - length) / release);
    return static_cast<float>(a);
}

// Band-limited sawtooth step correction.
double polyBlep(double phase, double step)
{
    if (phase < step) {
        double x = phase / step;
        return x + x - x * x - 1.0;
    }
    if (phase > 1.0 - step) {
        double x = (phase - 1.0) / step;
        return x * x + x + x + 1.0;
    }
    return 0.0;
}

struct Saw {
    double phase = 0.0;
    float next(double hz)
    {
        double step = hz / kRate;
        double value = 2.0 * phase - 1.0 - polyBlep(phase, step);
        phase += step;
        if (phase >= 1.0)
            phase -= 1.0;
        return static_cast<float>(value);
    }
};

float softClip(float x, float drive)
{
    return std::tanh(x * drive) / std::tanh(drive);
}

// Hash of a note's start, for phases and noise seeds that differ note to note.
uint32_t seedOf(double ms, double note)
{
    uint32_t h = static_cast<uint32_t>(ms * 7.0) * 2654435761u ^ static_cast<uint32_t>(note * 131.0 + 17.0);
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return h | 1u;
}

} // namespace

Pan::Pan(float position)
{
    float angle = (std::clamp(position, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    left = std::cos(angle) * 1.41421356f;
    right = std::sin(angle) * 1.41421356f;
}

Track::Track(double seconds)
    : frames(framesOf(seconds)), left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames)),
      send(static_cast<size_t>(frames))
{
}

void Track::add(int64_t frame, float sample, const Pan& pan, float sendLevel)
{
    if (frame < 0 || frame >= frames)
        return;
    size_t i = static_cast<size_t>(frame);
    left[i] += sample * pan.left;
    right[i] += sample * pan.right;
    send[i] += sample * sendLevel;
}

int64_t frameAt(double ms)
{
    return static_cast<int64_t>(std::llround(ms * kRate / 1000.0));
}

double midiHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

float Noise::next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

void Filter::set(float cutoffHz, float resonance)
{
    cutoffHz = std::clamp(cutoffHz, 20.0f, 18000.0f);
    g = std::tan(3.14159265f * cutoffHz / kRate);
    k = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.95f);
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

void Filter::process(float in, float& lowOut, float& bandOut, float& highOut)
{
    float v3 = in - ic2;
    float v1 = a1 * ic1 + a2 * v3;
    float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    lowOut = v2;
    bandOut = v1;
    highOut = in - k * v1 - v2;
}

float Filter::low(float in)
{
    float l, b, h;
    process(in, l, b, h);
    return l;
}

float Filter::band(float in)
{
    float l, b, h;
    process(in, l, b, h);
    return b;
}

float Filter::high(float in)
{
    float l, b, h;
    process(in, l, b, h);
    return h;
}

// ---- drums -----------------------------------------------------------------

void kick(Track& t, double ms, float gain, bool heavy)
{
    const Pan centre(0.0f);
    int64_t start = frameAt(ms);
    int64_t length = framesOf(heavy ? 0.5 : 0.4);
    Noise noise(seedOf(ms, 1.0));
    Filter click;
    click.set(3000.0f, 0.2f);
    double phase = 0.0;
    for (int64_t i = 0; i < length; ++i) {
        double s = secondsOf(i);
        double hz = heavy ? 42.0 + 150.0 * std::exp(-s / 0.035) : 48.0 + 120.0 * std::exp(-s / 0.03);
        phase += hz / kRate;
        float body = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-s / (heavy ? 0.16 : 0.12)));
        float snap = click.band(noise.next()) * static_cast<float>(std::exp(-s / 0.004)) * 0.8f;
        float v = body + snap;
        if (heavy)
            v = softClip(v * 1.2f, 2.0f);
        // A short fade in keeps the start clean, a fade out the end.
        v *= static_cast<float>(std::min(1.0, s / 0.0005) * std::min(1.0, (length - i) / 400.0));
        t.add(start + i, v * gain, centre, 0.02f);
    }
}

void snare(Track& t, double ms, float gain, float pan)
{
    const Pan place(pan);
    int64_t start = frameAt(ms);
    int64_t length = framesOf(0.35);
    Noise noise(seedOf(ms, 2.0));
    Filter tone;
    tone.set(2600.0f, 0.25f);
    double phase = 0.0;
    for (int64_t i = 0; i < length; ++i) {
        double s = secondsOf(i);
        phase += (180.0 + 60.0 * std::exp(-s / 0.02)) / kRate;
        float body = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-s / 0.05)) * 0.55f;
        float l, b, h;
        tone.process(noise.next(), l, b, h);
        float rattle = (b + 0.8f * h) * static_cast<float>(std::exp(-s / 0.075));
        float v = (body + rattle) * static_cast<float>(std::min(1.0, s / 0.0008));
        t.add(start + i, v * gain, place, 0.25f);
    }
}

void hat(Track& t, double ms, float gain, bool open, float pan)
{
    const Pan place(pan);
    int64_t start = frameAt(ms);
    int64_t length = framesOf(open ? 0.4 : 0.09);
    Noise noise(seedOf(ms, 3.0));
    Filter air;
    air.set(7500.0f, 0.3f);
    for (int64_t i = 0; i < length; ++i) {
        double s = secondsOf(i);
        float v = air.high(noise.next()) * static_cast<float>(std::exp(-s / (open ? 0.13 : 0.022)));
        t.add(start + i, v * gain * 1.6f, place, 0.12f);
    }
}

void crash(Track& t, double ms, float gain, double seconds)
{
    const Pan leftSide(-0.7f), rightSide(0.7f);
    int64_t start = frameAt(ms);
    int64_t length = framesOf(seconds);
    Noise left(seedOf(ms, 4.0)), right(seedOf(ms, 5.0));
    Filter airLeft, airRight;
    airLeft.set(4200.0f, 0.2f);
    airRight.set(4600.0f, 0.2f);
    for (int64_t i = 0; i < length; ++i) {
        double s = secondsOf(i);
        float env = static_cast<float>(std::exp(-s / (seconds / 4.0)) * std::min(1.0, s / 0.002)) * gain;
        t.add(start + i, airLeft.high(left.next()) * env, leftSide, 0.35f);
        t.add(start + i, airRight.high(right.next()) * env, rightSide, 0.35f);
    }
}

void boom(Track& t, double ms, float gain)
{
    const Pan centre(0.0f);
    int64_t start = frameAt(ms);
    int64_t length = framesOf(2.5);
    double phase = 0.0;
    for (int64_t i = 0; i < length; ++i) {
        double s = secondsOf(i);
        phase += (30.0 + 35.0 * std::exp(-s / 0.4)) / kRate;
        float v = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-s / 0.7) * std::min(1.0, s / 0.002));
        t.add(start + i, softClip(v, 1.5f) * gain, centre, 0.0f);
    }
}

// ---- pitched voices ----------------------------------------------------------

void bass(Track& t, double ms, double lengthMs, double note, float gain, float drive)
{
    const Pan centre(0.0f);
    int64_t start = frameAt(ms);
    const double length = lengthMs / 1000.0, release = 0.02;
    int64_t frames = framesOf(length + release);
    double hz = midiHz(note);
    Saw saw;
    double subPhase = 0.0;
    Filter filter;
    for (int64_t i = 0; i < frames; ++i) {
        double s = secondsOf(i);
        if (i % 16 == 0)
            filter.set(static_cast<float>(160.0 + 1500.0 * (1.0 + drive) * std::exp(-s / 0.07)), 0.35f);
        subPhase += hz / kRate;
        float v = filter.low(saw.next(hz)) + 0.6f * static_cast<float>(std::sin(kTwoPi * subPhase));
        if (drive > 0.0f)
            v = softClip(v, 1.0f + 4.0f * drive);
        t.add(start + i, v * envelope(s, 0.003, length, release) * gain, centre, 0.03f);
    }
}

void pad(Track& t, double ms, double lengthMs, double note, float gain, float cutoffHz, float pan)
{
    const Pan leftSide(pan - 0.5f), rightSide(pan + 0.5f);
    int64_t start = frameAt(ms);
    const double length = lengthMs / 1000.0;
    const double attack = std::min(1.5, length / 3.0), release = 1.8;
    int64_t frames = framesOf(length + release);
    double hz = midiHz(note);
    Saw saws[3];
    uint32_t seed = seedOf(ms, note);
    for (Saw& s : saws) {
        s.phase = (seed % 1000) / 1000.0;
        seed = seed * 1664525u + 1013904223u;
    }
    const double detune[3] = {std::pow(2.0, -9.0 / 1200.0), 1.0, std::pow(2.0, 8.0 / 1200.0)};
    Filter left, right;
    for (int64_t i = 0; i < frames; ++i) {
        double s = secondsOf(i);
        if (i % 64 == 0) {
            float wobble = static_cast<float>(1.0 + 0.25 * std::sin(kTwoPi * 0.13 * (ms / 1000.0 + s)));
            left.set(cutoffHz * wobble, 0.15f);
            right.set(cutoffHz * wobble * 1.07f, 0.15f);
        }
        float a = saws[0].next(hz * detune[0]);
        float b = saws[1].next(hz * detune[1]);
        float c = saws[2].next(hz * detune[2]);
        float env = envelope(s, attack, length, release) * gain * 0.3f;
        t.add(start + i, left.low(a + 0.5f * b) * env, leftSide, 0.45f);
        t.add(start + i, right.low(c + 0.5f * b) * env, rightSide, 0.45f);
    }
}

void pluck(Track& t, double ms, double lengthMs, double note, float gain, float brightness, float pan)
{
    const Pan place(pan);
    int64_t start = frameAt(ms);
    const double length = lengthMs / 1000.0, release = 0.05;
    int64_t frames = framesOf(length + release);
    double hz = midiHz(note);
    Saw saw;
    double square = 0.0;
    Filter filter;
    for (int64_t i = 0; i < frames; ++i) {
        double s = secondsOf(i);
        if (i % 16 == 0)
            filter.set(static_cast<float>(250.0 + brightness * 4500.0 * std::exp(-s / 0.12)), 0.4f);
        square += hz / kRate;
        float sq = square - std::floor(square) < 0.5 ? 0.4f : -0.4f;
        float v = filter.low(saw.next(hz) + sq);
        float env = envelope(s, 0.002, length, release) * static_cast<float>(std::exp(-s / 0.35));
        t.add(start + i, v * env * gain, place, 0.35f);
    }
}

void bell(Track& t, double ms, double note, float gain, float pan)
{
    const Pan place(pan);
    int64_t start = frameAt(ms);
    int64_t frames = framesOf(4.0);
    double hz = midiHz(note);
    for (int64_t i = 0; i < frames; ++i) {
        double s = secondsOf(i);
        double index = 2.2 * std::exp(-s / 0.5);
        double v = std::sin(kTwoPi * hz * s + index * std::sin(kTwoPi * hz * 3.5 * s));
        double env = std::exp(-s / 1.3) * std::min(1.0, s / 0.003) * std::min(1.0, (frames - i) / 2000.0);
        t.add(start + i, static_cast<float>(v * env) * gain, place, 0.55f);
    }
}

void lead(Track& t, double ms, double lengthMs, double note, float gain, float pan)
{
    const Pan place(pan);
    int64_t start = frameAt(ms);
    const double length = lengthMs / 1000.0, release = 0.08;
    int64_t frames = framesOf(length + release);
    Saw a, b;
    Filter filter;
    filter.set(2400.0f, 0.25f);
    for (int64_t i = 0; i < frames; ++i) {
        double s = secondsOf(i);
        double vibrato = s > 0.2 ? 0.2 * std::sin(kTwoPi * 5.5 * s) * std::min(1.0, (s - 0.2) / 0.3) : 0.0;
        double hz = midiHz(note + vibrato);
        float v = filter.low(a.next(hz) + b.next(hz * 1.006));
        t.add(start + i, v * envelope(s, 0.01, length, release) * gain, place, 0.3f);
    }
}

void sweep(Track& t, double ms, double lengthMs, float fromHz, float toHz, float fromGain, float toGain,
           uint32_t seed)
{
    int64_t start = frameAt(ms);
    int64_t frames = frameAt(lengthMs);
    Noise noise(seed);
    Filter filter;
    Pan place(0.0f);
    for (int64_t i = 0; i < frames; ++i) {
        float x = static_cast<float>(i) / static_cast<float>(frames);
        if (i % 32 == 0)
            filter.set(fromHz * std::pow(toHz / fromHz, x), 0.5f);
        float level = fromGain + (toGain - fromGain) * x;
        if (i % 512 == 0)
            place = Pan(0.6f * static_cast<float>(std::sin(kTwoPi * 0.1 * secondsOf(i) + seed % 7)));
        // Short fades at both ends.
        float edge = std::min(1.0f, std::min(static_cast<float>(i), static_cast<float>(frames - i)) / 2000.0f);
        t.add(start + i, filter.band(noise.next()) * level * edge, place, 0.3f);
    }
}

// ---- reverb ------------------------------------------------------------------

namespace {

struct Comb {
    std::vector<float> buffer;
    size_t index = 0;
    float store = 0.0f;
    explicit Comb(size_t size) : buffer(size) {}
    float process(float in, float feedback, float damp)
    {
        float out = buffer[index];
        store = out * (1.0f - damp) + store * damp;
        buffer[index] = in + store * feedback;
        if (++index == buffer.size())
            index = 0;
        return out;
    }
};

struct AllPass {
    std::vector<float> buffer;
    size_t index = 0;
    explicit AllPass(size_t size) : buffer(size) {}
    float process(float in)
    {
        float delayed = buffer[index];
        buffer[index] = in + delayed * 0.5f;
        if (++index == buffer.size())
            index = 0;
        return delayed - in;
    }
};

void reverbChannel(const std::vector<float>& in, std::vector<float>& out, size_t spread, float wet)
{
    const size_t combSizes[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const size_t allPassSizes[4] = {556, 441, 341, 225};
    std::vector<Comb> combs;
    for (size_t size : combSizes)
        combs.emplace_back(size + spread);
    std::vector<AllPass> allPasses;
    for (size_t size : allPassSizes)
        allPasses.emplace_back(size + spread);
    // The low end stays dry, so the kicks keep their edges.
    float highPassState = 0.0f, previous = 0.0f;
    for (size_t i = 0; i < in.size(); ++i) {
        float x = in[i];
        highPassState = 0.98f * (highPassState + x - previous);
        previous = x;
        float input = highPassState * 0.015f;
        float sum = 0.0f;
        for (Comb& comb : combs)
            sum += comb.process(input, 0.86f, 0.3f);
        for (AllPass& pass : allPasses)
            sum = pass.process(sum);
        out[i] += sum * wet;
    }
}

} // namespace

void addReverb(Track& t, float wet)
{
    // The two sides are independent: one of them on a second core.
    std::thread right([&] { reverbChannel(t.send, t.right, 23, wet * 3.0f); });
    reverbChannel(t.send, t.left, 0, wet * 3.0f);
    right.join();
}

} // namespace synth
