#include "sound/beat_envelope.h"

#include <cstddef>

#include "core/time_window.h"

namespace {
constexpr int32_t kCatchWindowMs = 250;
constexpr int32_t kBeatMs = 750; // 80 beats per minute
}

BeatEnvelope::BeatEnvelope(int32_t capacity, int32_t mode)
    : capacity(capacity), mode(mode), slots(capacity > 0 ? static_cast<size_t>(capacity) : 0)
{
}

void BeatEnvelope::add(int32_t timeMs, int32_t durationMs)
{
    if (count < capacity) {
        Slot& slot = slots[static_cast<size_t>(count)];
        slot.catchStart = timeMs;
        slot.catchEnd = timeMs + kCatchWindowMs;
        slot.duration = durationMs;
    }
    ++count;
}

float BeatEnvelope::value(int32_t t)
{
    for (Slot& slot : slots) {
        if (t <= slot.catchEnd && t >= slot.catchStart && !slot.fired) {
            slot.fired = true;
            slot.firedAt = t;
            slot.fadeEnd = slot.duration + t;
        }
    }
    if (capacity <= 0)
        return 0.0f;
    // The last fired slot in slot order decides, even after the music loops
    // back before its firing time (the ramp is 0 there, so the value is 1).
    float v = 0.0f;
    for (const Slot& slot : slots)
        if (slot.fired)
            v = 1.0f - ramp(static_cast<float>(t), static_cast<float>(slot.firedAt), static_cast<float>(slot.fadeEnd));
    return v > 1.0f ? 1.0f : v;
}

BeatEnvelope* makeMistEnvelope()
{
    auto* envelope = new BeatEnvelope(31, 0);
    for (int32_t k = 0; k <= 13; ++k)
        envelope->add(12370 + kBeatMs * k, 350);
    // The beat of 22870 ms is a break in the music.
    for (int32_t k = 0; k <= 16; ++k)
        envelope->add(23620 + kBeatMs * k, 350);
    return envelope;
}

BeatEnvelope* makeBeastEnvelope()
{
    auto* envelope = new BeatEnvelope(48, 0);
    for (int32_t k = 0; k <= 47; ++k)
        envelope->add(36370 + kBeatMs * k, 400);
    return envelope;
}
