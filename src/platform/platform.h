// The thin layer between the show and the system: SDL2 for the window, the GL
// context, events, clocks and message boxes. Only src/platform/ includes SDL.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/display_settings.h"

namespace platform {

// The software renderer allocates and frees large vertex buffers on every
// draw; with the C library's defaults the heap is trimmed and regrown each
// time, and the page faults cost a frame a third of its CPU time. Called
// first thing, this keeps the memory once taken.
void keepFreedMemory();

// Starts SDL's video and event handling. With no X11 or Wayland display it
// fails, unless offscreen allows SDL's off-screen driver (a GL context with no
// window on any screen, for capture and timedemo). On failure, error says why.
bool initVideo(std::string& error, bool offscreen = false);
// Closes the window if one is open and shuts SDL down; the desktop mode comes back.
void shutdown();

// Every mode of display 0, in the order SDL enumerates them.
std::vector<DisplayMode> displayModes();
// The desktop's current mode of display 0; false when unknown.
bool desktopMode(DisplayMode& mode);

struct WindowRequest {
    const char* title;
    int width;
    int height;
    bool fullscreen;
    int depthBits; // asked first; 24 is tried when the driver refuses it
};

// Opens the window with a double-buffered GL compatibility context (RGB 8-8-8,
// no alpha, no stencil, no multisampling) and makes it current.
bool openWindow(const WindowRequest& request, std::string& error);
// Releases the GL context, then the window.
void closeWindow();
void showCursor(bool visible);
// Shows the window (it opens hidden).
void showWindow();
// Shows it if need be, brings it to the front and gives it the focus.
void raiseWindow();
void swapBuffers();
// Asks the driver not to wait for the display's refresh (offline rendering).
void disableSwapWait();

// The quit message: posted by Escape, the close button or the show's end; the
// next pump turns it into PumpResult::Quit.
void postQuit(int exitCode);
enum class PumpResult { Empty, Handled, Quit };

// The keys the real-time show answers besides Escape. Held down, only the
// arrows repeat.
enum class Key { None, Space, Left, Right, PageUp, PageDown, Home, I, R };
struct Event {
    Key key = Key::None;
    bool exposed = false; // the window's picture must be shown again
};
// Handles at most one event and says what it asks of the show. Empty means
// the queue had nothing waiting.
PumpResult pumpOneEvent(Event& event);
int quitCode();

void sleepMs(uint32_t ms);

// Shows a message box (unless message boxes are off) and prints the text on stderr.
void messageBox(const char* caption, const char* text);
// Batch runs (capture, timedemo) must never wait for somebody to click.
void setMessageBoxesEnabled(bool enabled);

} // namespace platform
