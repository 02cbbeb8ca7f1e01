// The show table: for each marker window whose composite runs, the values of
// that composite at a music time (the scene call, the backdrop, the blur and
// grading of the post chain, the overlays), and when the show ends. Pure
// functions of time; the scene list points each window at its look.
#pragma once
#include <cstdint>

#include "timeline/marker_table.h"
#include "timeline/window_values.h"

// A window's look: every value of its composite at t (the window holds t).
using Look = WindowValues (*)(Marker w, int32_t t, const MarkerWindows& windows);

namespace look {
WindowValues quotation(Marker w, int32_t t, const MarkerWindows& windows); // citation, citation2
WindowValues mist(Marker w, int32_t t, const MarkerWindows& windows);      // sous_la_brume, dans_le_brouillard
WindowValues lair(Marker w, int32_t t, const MarkerWindows& windows);      // directorcut
WindowValues beast(Marker w, int32_t t, const MarkerWindows& windows);     // linkbeast, la_bête_se_déchaîne
WindowValues clouds(Marker w, int32_t t, const MarkerWindows& windows);    // dans_les_nuées
WindowValues mushrooms(Marker w, int32_t t, const MarkerWindows& windows); // iterations
WindowValues roots(Marker w, int32_t t, const MarkerWindows& windows);     // roots
WindowValues tree(Marker w, int32_t t, const MarkerWindows& windows);      // noname, noname2
WindowValues greetings(Marker w, int32_t t, const MarkerWindows& windows); // greetings
WindowValues recall(Marker w, int32_t t, const MarkerWindows& windows);    // rappel
} // namespace look

// Whether the frame at t is the show's last: the recall past r = 0.98, or demoend.
bool showEndsAt(int32_t t, const MarkerWindows& windows);

// The fade of title word i (0..3) at the roots ramp r.
float titleWordFade(int i, float r);

// The name reports use for a window, "none" for Marker::Count.
const char* windowReportName(Marker w);
