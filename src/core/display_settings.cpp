#include "core/display_settings.h"

#include <cstddef>

std::vector<DisplayMode> filterModes(const std::vector<DisplayMode>& all)
{
    std::vector<DisplayMode> kept;
    for (const DisplayMode& m : all)
        if (static_cast<unsigned>(m.bitsPerPixel) >= 24u && static_cast<unsigned>(m.width) >= 640u)
            kept.push_back(m);
    return kept;
}

int defaultModeIndex(const std::vector<DisplayMode>& modes)
{
    int index = 0;
    for (size_t i = 0; i < modes.size(); ++i)
        if (modes[i].width == 1024 && modes[i].height == 768)
            index = static_cast<int>(i);
    return index;
}

int findOrAddMode(std::vector<DisplayMode>& modes, int width, int height)
{
    for (size_t i = modes.size(); i-- > 0;)
        if (modes[i].width == width && modes[i].height == height)
            return static_cast<int>(i);
    modes.push_back({width, height, 32, 0});
    return static_cast<int>(modes.size()) - 1;
}

std::vector<DisplayMode> fallbackModes(bool haveDesktop, const DisplayMode& desktop)
{
    if (haveDesktop && desktop.width > 0 && desktop.height > 0)
        return {desktop};
    return {{1024, 768, 32, 0}};
}

void DisplaySettings::init(const std::vector<DisplayMode>& all, const DisplayMode* desktop)
{
    selectedMode = 0;
    bitsPerPixelValue = 32;
    aspectValue = 0;
    fullscreenValue = false;
    antiAliasValue = false;
    goValue = false;
    modes = filterModes(all);
    if (modes.empty())
        modes = fallbackModes(desktop != nullptr, desktop ? *desktop : DisplayMode{});
}

int DisplaySettings::width() const
{
    return modes.at(selectedMode).width;
}

int DisplaySettings::height() const
{
    return modes.at(selectedMode).height;
}

Viewport letterbox(int width, int height, int aspect)
{
    float hf = static_cast<float>(height);
    if (hf == 0.0f)
        hf = 1.0f;
    int band;
    if (aspect == 0)
        band = static_cast<int>(0.625 * width);
    else if (aspect == 1)
        band = static_cast<int>(0.5625 * width);
    else
        band = height;
    int y = static_cast<int>((hf - static_cast<float>(band)) * 0.5f);
    return {0, y, width, band};
}

Viewport DisplaySettings::band() const
{
    return letterbox(width(), height(), aspect());
}
