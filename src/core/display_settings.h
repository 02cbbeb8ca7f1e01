// The viewer's choices: display mode, picture band, full screen, line smoothing.
// One process-wide set, filled before the window opens and read everywhere after.
#pragma once
#include <vector>


// One mode of a display as the platform reports it.
struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // SDL reports 32-bit true colour as 24
    int refreshRate = 0;  // 0 when the driver does not say
};

struct Viewport {
    int x, y, width, height;
};

struct DisplaySettings {
    static std::vector<DisplayMode> modes;
    static int selectedMode;
    static int bitsPerPixelValue;
    static int aspectValue; // 0: 16:10, 1: 16:9, 2: the mode's own shape
    static bool fullscreenValue;
    static bool antiAliasValue;
    static bool goValue;

    // The constructor's work: defaults, then the filtered modes of display 0
    // (all of them as enumerated; desktop is the current mode, when known).
    static void init(const std::vector<DisplayMode>& all, const DisplayMode* desktop);

    static int width();
    static int height();
    // The letterboxed band of the picture in the chosen mode.
    static Viewport band();
    static int bitsPerPixel() { return bitsPerPixelValue; }
    static int aspect() { return aspectValue; }
    static bool fullscreen() { return fullscreenValue; }
    static bool antiAlias() { return antiAliasValue; }
    static bool go() { return goValue; }
};

// Modes offered to the viewer: at least 24 bits per pixel as SDL counts true
// colour, at least 640 wide, in enumeration order.
std::vector<DisplayMode> filterModes(const std::vector<DisplayMode>& all);
// The last mode that is exactly 1024 x 768, else 0.
int defaultModeIndex(const std::vector<DisplayMode>& modes);
// The last listed mode of that size; a size the display does not list is
// appended (a window takes any size, full screen asks the display for it).
int findOrAddMode(std::vector<DisplayMode>& modes, int width, int height);
// The list shown when the filter leaves nothing: the desktop's mode, else 1024 x 768.
std::vector<DisplayMode> fallbackModes(bool haveDesktop, const DisplayMode& desktop);

// The letterboxed band of the picture inside a W x H mode.
Viewport letterbox(int width, int height, int aspect);
