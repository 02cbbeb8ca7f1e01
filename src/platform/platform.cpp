#include "platform/platform.h"

#include <SDL.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

void keepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest the library accepts
    mallopt(M_TOP_PAD, 64 << 20);
}

namespace {

struct State {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool quitPosted = false;
    int exitCode = 0;
    bool messageBoxes = true;
} state;

void setContextAttributes(int depthBits)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    // The show needs nothing past 2.0; asking for SDL's default 2.1 fails on 2.0 drivers.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
}

bool tryOpen(const WindowRequest& request, int depthBits, std::string& error)
{
    setContextAttributes(depthBits);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (request.fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    int position = SDL_WINDOWPOS_CENTERED_DISPLAY(0);
    state.window = SDL_CreateWindow(request.title, position, position, request.width, request.height, flags);
    if (!state.window) {
        error = SDL_GetError();
        return false;
    }
    if (request.fullscreen) {
        SDL_DisplayMode mode = {};
        mode.w = request.width;
        mode.h = request.height;
        mode.refresh_rate = 0; // the display's default rate
        SDL_SetWindowDisplayMode(state.window, &mode);
    }
    state.context = SDL_GL_CreateContext(state.window);
    if (!state.context) {
        error = SDL_GetError();
        SDL_DestroyWindow(state.window);
        state.window = nullptr;
        return false;
    }
    return true;
}

bool isSet(const char* variable)
{
    const char* value = SDL_getenv(variable);
    return value && *value;
}

} // namespace

bool initVideo(std::string& error, bool offscreen)
{
    // Keep SDL from turning the first Escape or close into a desktop-mode dance of its own.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("SDL_VIDEODRIVER")) {
        if (!offscreen) {
            error = "neither DISPLAY nor WAYLAND_DISPLAY is set";
            return false;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        error = SDL_GetError();
        return false;
    }
    // Whatever way the process ends, the desktop gets its own display mode back.
    static bool restoreAtExit = std::atexit(platform::shutdown) == 0;
    (void)restoreAtExit;
    // With no desktop SDL falls back to drivers that draw nowhere; unless somebody
    // asked for one of them, that means there is no display to show on.
    std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if ((driver == "dummy" || (driver == "offscreen" && !offscreen)) && !isSet("SDL_VIDEODRIVER")) {
        SDL_Quit();
        error = "no X11 or Wayland display found";
        return false;
    }
    return true;
}

void shutdown()
{
    closeWindow();
    SDL_Quit();
}

std::vector<DisplayMode> displayModes()
{
    std::vector<DisplayMode> modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0)
            break;
        modes.push_back({m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate});
    }
    return modes;
}

bool desktopMode(DisplayMode& mode)
{
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(0, &m) != 0)
        return false;
    mode = {m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate};
    return true;
}

bool openWindow(const WindowRequest& request, std::string& error)
{
    if (tryOpen(request, request.depthBits, error))
        return true;
    if (request.depthBits != 24 && tryOpen(request, 24, error))
        return true;
    return false;
}

void closeWindow()
{
    if (state.context) {
        SDL_GL_MakeCurrent(state.window, nullptr);
        SDL_GL_DeleteContext(state.context);
        state.context = nullptr;
    }
    if (state.window) {
        SDL_DestroyWindow(state.window);
        state.window = nullptr;
    }
}

void showCursor(bool visible)
{
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void showWindow()
{
    SDL_ShowWindow(state.window);
}

void raiseWindow()
{
    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
}

void swapBuffers()
{
    SDL_GL_SwapWindow(state.window);
}

void disableSwapWait()
{
    SDL_GL_SetSwapInterval(0);
}

void postQuit(int exitCode)
{
    if (!state.quitPosted)
        state.exitCode = exitCode;
    state.quitPosted = true;
}

namespace {

Key showKey(const SDL_KeyboardEvent& key)
{
    switch (key.keysym.sym) {
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    default: break;
    }
    if (key.repeat)
        return Key::None;
    switch (key.keysym.sym) {
    case SDLK_SPACE: return Key::Space;
    case SDLK_PAGEUP: return Key::PageUp;
    case SDLK_PAGEDOWN: return Key::PageDown;
    case SDLK_HOME: return Key::Home;
    case SDLK_i: return Key::I;
    case SDLK_r: return Key::R;
    default: return Key::None;
    }
}

} // namespace

PumpResult pumpOneEvent(Event& pumped)
{
    pumped = {};
    if (state.quitPosted)
        return PumpResult::Quit;
    SDL_Event event;
    if (!SDL_PollEvent(&event))
        return PumpResult::Empty;
    switch (event.type) {
    case SDL_QUIT:
        postQuit(0);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            postQuit(0);
        pumped.exposed = event.window.event == SDL_WINDOWEVENT_EXPOSED;
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE)
            postQuit(0);
        else
            pumped.key = showKey(event.key);
        break;
    default:
        break;
    }
    return PumpResult::Handled;
}

int quitCode()
{
    return state.exitCode;
}

void sleepMs(uint32_t ms)
{
    SDL_Delay(ms);
}

void messageBox(const char* caption, const char* text)
{
    std::fprintf(stderr, "velmora: %s: %s\n", caption, text);
    if (state.messageBoxes)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, state.window);
}

void setMessageBoxesEnabled(bool enabled)
{
    state.messageBoxes = enabled;
}

} // namespace platform
