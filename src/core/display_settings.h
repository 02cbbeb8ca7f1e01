// The viewer's choices: display mode, picture band, full screen, line smoothing.
// One value in the show's context, filled before the window opens and handed
// to what reads it after.
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
    std::vector<DisplayMode> modes;
    int selectedMode = 0;
    int bitsPerPixelValue = 32;
    int aspectValue = 0; // 0: 16:10, 1: 16:9, 2: the mode's own shape
    bool fullscreenValue = false;
    bool antiAliasValue = false;
    bool goValue = false;

    // The constructor's work: defaults, then the filtered modes of display 0
    // (all of them as enumerated; desktop is the current mode, when known).
    void init(const std::vector<DisplayMode>& all, const DisplayMode* desktop);

    int width() const;
    int height() const;
    // The letterboxed band of the picture in the chosen mode.
    Viewport band() const;
    int bitsPerPixel() const { return bitsPerPixelValue; }
    int aspect() const { return aspectValue; }
    bool fullscreen() const { return fullscreenValue; }
    bool antiAlias() const { return antiAliasValue; }
    bool go() const { return goValue; }
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
