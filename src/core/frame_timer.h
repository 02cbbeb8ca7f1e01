// The frame clock: seconds since the show started (elapsed) and since the
// previous frame (delta), for motion that does not follow the music.
#pragma once

struct FrameTimer {
    float startTime = 0.0f; // 0 means not taken yet
    float elapsed = 0.0f;
    float delta = 0.0f;
    float previous = 0.0f;

    // Logs the Demo starts line, takes the start reading and updates once.
    void start();
    // Once per frame.
    void update();
    // update() with a given clock reading; a reading behind the start restarts the clock.
    void updateAt(float now);
    // Leaves seconds of the clock out (a pause): the next update goes on as
    // if they had not passed.
    void leaveOut(float seconds);
    // The clock reading in seconds.
    static float now();
};
