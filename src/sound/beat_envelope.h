// Pulses that follow the music's beats: each beat fires once, the first time
// the value is asked for while the music time is within 250 ms after the
// beat, and the value then falls linearly from 1 to 0 over the beat's length.
#pragma once
#include <cstdint>
#include <vector>

class BeatEnvelope {
public:
    // capacity beat slots; mode 0 (a falling pulse) is the only shape.
    BeatEnvelope(int32_t capacity, int32_t mode);

    // Adds a beat at timeMs lasting durationMs. Beats past the capacity are
    // counted but not kept.
    void add(int32_t timeMs, int32_t durationMs);
    // The pulse at music time timeMs; fires the beats whose window holds it.
    float value(int32_t timeMs);

    int32_t capacity;
    int32_t count = 0;
    int32_t mode;

private:
    struct Slot {
        int32_t catchStart = 0;
        int32_t catchEnd = 0;
        int32_t duration = 0;
        int32_t firedAt = 0;
        int32_t fadeEnd = 0;
        bool fired = false;
    };
    std::vector<Slot> slots;
};

// The show's two envelopes: 31 mist beats from 12370 ms (no beat at 22870),
// 350 ms each, and 48 beast beats from 36370 ms, 400 ms each.
BeatEnvelope* makeMistEnvelope();
BeatEnvelope* makeBeastEnvelope();
