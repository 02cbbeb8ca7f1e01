// The orderly end of the show: every release of the scene list, then what was
// made before start-up, the log and the window.
#pragma once
#include <vector>

struct SceneRow;

// The rows that release something, in the order shutdown runs them: the
// show's content in start-up order, then the drawing tools in start-up order.
std::vector<const SceneRow*> shutdownOrder();

struct ShowContext;

// Writes the Demo ends line and runs every release step in order.
void shutdownShow(ShowContext& show);
