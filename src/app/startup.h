// Everything made before the first frame, and the times it took.
#pragma once
#include <string>
#include <vector>

struct ShowContext;

// Starts the work of later steps that needs no window (the terrain's heights,
// the pictures' decoding) on worker threads, at launch, while the dialog and
// the window open; the steps pick it up in their order.
void startStartupWorkAhead();
// Runs the start-up sequence: the log, every resource, the music, the frame clock.
bool runStartup(ShowContext& show, int startMs);

// The time of each start-up step, for the timedemo report.
struct StartupStepTime {
    std::string name;
    double ms;
    double cpuMs; // the main thread's
};
// Records that the named step has just finished.
void markStartupStep(const char* name);
const std::vector<StartupStepTime>& startupStepTimes();
