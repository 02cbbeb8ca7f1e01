// The loading bar: a dark slot in a grey frame, filled from the left in two
// tones of green, drawn in perspective a little below the middle of the
// screen, once after every start-up step.
#pragma once

struct DisplaySettings;

class LoadingBar {
public:
    int progress = 0;
    int total = 0;
    float halfWidth = 2.05f;

    void setTotal(int n) { total = n; }
    // Counts n steps and draws the whole screen.
    void advance(int n, const DisplaySettings& display);
    // Draws the bar and presents it.
    void draw(const DisplaySettings& display) const;
    // The drawing alone, into the back buffer, in the display's band.
    void render(const DisplaySettings& display) const;
};

// Where the fill runs, in the bar's model units.
struct BarFill {
    float left;
    float right;
};
BarFill loadingBarFill(int progress, int total, float halfWidth);

// The aspect the bar's projection uses: width / height as an integer division.
int loadingBarAspect(int width, int height);
