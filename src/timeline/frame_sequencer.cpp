#include "timeline/frame_sequencer.h"

#include "platform/platform.h"

namespace {

// The windows with a composite, in the order a frame tests them; windows that
// share a test (the mist pair, the quotation pair) stand side by side.
constexpr Window kCompositeOrder[] = {
    Window::SousLaBrume, Window::DansLeBrouillard, Window::Directorcut,
    Window::Linkbeast,   Window::LaBeteSeDechaine, Window::DansLesNuees,
    Window::Roots,       Window::Iterations,       Window::Noname,
    Window::Noname2,     Window::Greetings,        Window::Citation,
    Window::Citation2,   Window::Rappel,
};

} // namespace

void FrameSequencer::drawFrame(int timeMs)
{
    const MarkerWindows& windows = markerWindows();
    // Last of all in the frame: the end of the show.
    if (inWindow(timeMs, windows[Window::Demoend]))
        platform::postQuit(0);
}

Window shownWindow(int32_t t, const MarkerWindows& windows)
{
    Window shown = Window::Count;
    for (size_t i = 0; i < std::size(kCompositeOrder); ++i) {
        Window w = kCompositeOrder[i];
        // Of a pair sharing one test, the first that holds t is drawn.
        bool pairedWithPrevious = (w == Window::DansLeBrouillard || w == Window::Citation2);
        if (pairedWithPrevious && shown == kCompositeOrder[i - 1])
            continue;
        if (inWindow(t, windows[w]))
            shown = w;
    }
    return shown;
}

const char* windowReportName(Window w)
{
    if (w == Window::Count)
        return "none";
    return kWindowDefinitions[static_cast<int>(w)].name;
}
