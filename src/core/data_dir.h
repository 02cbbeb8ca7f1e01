// Where the show's data tree lies. Every loader names its files as the show
// always has, "data/..." from the working directory; once a tree elsewhere has
// been chosen, dataFile maps those names into it.
#pragma once
#include <string>
#include <vector>

enum class DataDirChoice { Found, BadOption, NotFound };

// Picks the tree, in this order: the --data directory (when given, it alone),
// ./data when it exists, the installed share/velmora/data beside the program's
// bin/, data/ beside the program (the build tree). programPath is the
// program's own file ("" when unknown). On BadOption or NotFound, message says
// why: the bad directory, or every place looked in.
DataDirChoice chooseDataDir(const std::string& option, const std::string& programPath, std::string& message);

// The places looked in without --data, in order.
std::vector<std::string> dataDirCandidates(const std::string& programPath);

// The chosen tree; "data" until one is chosen.
const std::string& dataDir();
// name with its leading "data/" replaced by the chosen tree; other names unchanged.
std::string dataFile(const std::string& name);

// The running program's own file, from /proc; "" when it cannot be read.
std::string ownProgramPath();
