#include "app/show_context.h"

#include "app/show_controls.h"
#include "core/data_dir.h"
#include "gfx/framebuffer.h"
#include "platform/platform.h"

namespace {

DisplaySettings desktopSettings()
{
    DisplayMode desktop;
    bool known = platform::desktopMode(desktop);
    DisplaySettings settings;
    settings.init(platform::displayModes(), known ? &desktop : nullptr);
    return settings;
}

} // namespace

ShowContext::ShowContext(bool openAudio)
    : display(desktopSettings()), markers(buildMarkerWindows(MarkerTable(dataFile(kScriptFile).c_str()))),
      sound(std::make_unique<SoundManager>(openAudio))
{
    allocateFrameBuffers();
}
