// The soundtrack's mastering: a gain to a target integrated loudness and a
// gentle look-ahead limiter that holds the peaks under a ceiling. Loudness
// and true peak are measured with libebur128, the reference meter.
#pragma once
#include <vector>

namespace mastering {

struct Loudness {
    double integrated = 0.0; // LUFS
    double truePeak = 0.0;   // dBTP, the louder channel
};

// Measures interleaved stereo samples at rate.
Loudness measure(const std::vector<float>& stereo, int rate);

// Interleaved stereo scaled by gainDb, its peaks held under ceilingDb by a
// stereo-linked gain that falls over lookaheadMs before a peak (so that
// nothing moves in time and nothing clips) and recovers over releaseMs.
// deepestDb, when given, gets the most the limiter took off, in dB.
std::vector<float> limit(const std::vector<float>& stereo, int rate, double gainDb, double ceilingDb,
                         double* deepestDb = nullptr, double lookaheadMs = 5.0, double releaseMs = 120.0);

struct Result {
    std::vector<float> samples;
    Loudness loudness;
    double gainDb = 0.0;
    double ceilingDb = 0.0;
    double deepestDb = 0.0; // the limiter's deepest cut
    bool met = false; // within 0.1 LU of the target, true peak at or under the most
};

// Finds the gain and ceiling that bring stereo to targetLufs with its true
// peak at or under maxTruePeakDb, measuring after each try.
Result master(const std::vector<float>& stereo, int rate, double targetLufs, double maxTruePeakDb);

} // namespace mastering
