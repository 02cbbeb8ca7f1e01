// The viewer's controls of the real-time show, answered between frames:
// Space pauses and resumes, Left / Right seek 5 s, Page Up / Page Down go to
// the previous / next window's start, Home restarts, I toggles the info band,
// R reads the timeline script again, which --dev also does when it changes.
// Capture and timedemo never start them.
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct ShowContext;

// The script the controls read again.
extern const char* const kScriptFile;

// Starts the controls; with dev the script is watched for changes.
void startShowControls(bool dev);
void stopShowControls();
// Answers one handled event of the pump.
void answerEvent(ShowContext& show, const platform::Event& event);
// Once per loop turn with no event waiting, before a frame: reads a changed
// script again, and while paused shows the held picture again when it must.
// False while paused: no frame is drawn then, so nothing on screen moves.
bool showFrameWanted(ShowContext& show);
// After the frame's picture and before the swap: holds it when a pause was
// asked (or the show is paused and moved), and draws the info band when on.
void finishShowFrame(ShowContext& show, int32_t t);
