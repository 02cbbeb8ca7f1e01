// The orderly end of the show: every release of the scene table, in its
// release order, then the log and the window.
#pragma once
#include <vector>

struct SceneRow;

// The rows that release something, in the order shutdown runs them.
std::vector<const SceneRow*> shutdownOrder();

// Writes the Demo ends line and runs every release step in order.
void shutdownShow();
