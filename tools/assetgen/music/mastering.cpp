#include "music/mastering.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <deque>

namespace mastering {

namespace {

double toDb(double linear)
{
    return linear > 0.0 ? 20.0 * std::log10(linear) : -HUGE_VAL;
}

double fromDb(double db)
{
    return std::pow(10.0, db / 20.0);
}

} // namespace

Loudness measure(const std::vector<float>& stereo, int rate)
{
    Loudness result;
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(rate), EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    if (!meter)
        return result;
    ebur128_add_frames_float(meter, stereo.data(), stereo.size() / 2);
    ebur128_loudness_global(meter, &result.integrated);
    double peak = 0.0;
    for (unsigned channel = 0; channel < 2; ++channel) {
        double p = 0.0;
        ebur128_true_peak(meter, channel, &p);
        peak = std::max(peak, p);
    }
    result.truePeak = toDb(peak);
    ebur128_destroy(&meter);
    return result;
}

std::vector<float> limit(const std::vector<float>& stereo, int rate, double gainDb, double ceilingDb,
                         double* deepestDb, double lookaheadMs, double releaseMs)
{
    const size_t frames = stereo.size() / 2;
    const float gain = static_cast<float>(fromDb(gainDb));
    const double ceiling = fromDb(ceilingDb);
    const size_t span = std::max<size_t>(1, static_cast<size_t>(lookaheadMs * rate / 1000.0));

    // The gain each frame needs on its own.
    std::vector<double> needed(frames);
    for (size_t i = 0; i < frames; ++i) {
        double peak = std::max(std::fabs(stereo[2 * i]), std::fabs(stereo[2 * i + 1])) * gain;
        needed[i] = peak > ceiling ? ceiling / peak : 1.0;
    }
    // The least gain over the next span frames, averaged over the last span:
    // every frame averaged into a frame's gain looked ahead at that frame, so
    // the gain never exceeds what the frame needs and falls as a ramp before it.
    std::vector<double> ahead(frames);
    std::deque<size_t> least; // frames in the window by rising gain, the least in front
    for (size_t k = frames; k-- > 0;) {
        while (!least.empty() && needed[least.back()] >= needed[k])
            least.pop_back();
        least.push_back(k);
        if (least.front() >= k + span)
            least.pop_front();
        ahead[k] = needed[least.front()];
    }
    std::vector<float> out(stereo.size());
    const double recover = 1.0 - std::exp(-1000.0 / (releaseMs * rate));
    double sum = 0.0;
    double held = 1.0;
    double deepest = 1.0;
    for (size_t i = 0; i < frames; ++i) {
        sum += ahead[i];
        if (i >= span)
            sum -= ahead[i - span];
        double ramp = sum / static_cast<double>(std::min(i + 1, span));
        held = std::min(ramp, held + (1.0 - held) * recover);
        deepest = std::min(deepest, held);
        float g = gain * static_cast<float>(held);
        out[2 * i] = stereo[2 * i] * g;
        out[2 * i + 1] = stereo[2 * i + 1] * g;
    }
    if (deepestDb)
        *deepestDb = -toDb(deepest);
    return out;
}

Result master(const std::vector<float>& stereo, int rate, double targetLufs, double maxTruePeakDb)
{
    Result result;
    result.gainDb = targetLufs - measure(stereo, rate).integrated;
    // Sample peaks start a little under the true-peak limit; inter-sample peaks
    // lower the ceiling further when they need to.
    result.ceilingDb = maxTruePeakDb - 0.5;
    for (int attempt = 0; attempt < 8; ++attempt) {
        result.samples = limit(stereo, rate, result.gainDb, result.ceilingDb, &result.deepestDb);
        result.loudness = measure(result.samples, rate);
        bool loudnessMet = std::fabs(result.loudness.integrated - targetLufs) <= 0.1;
        bool peakMet = result.loudness.truePeak <= maxTruePeakDb;
        if (loudnessMet && peakMet) {
            result.met = true;
            break;
        }
        // What the limiter takes off comes back as gain.
        result.gainDb += targetLufs - result.loudness.integrated;
        if (!peakMet)
            result.ceilingDb -= result.loudness.truePeak - maxTruePeakDb + 0.05;
    }
    return result;
}

} // namespace mastering
