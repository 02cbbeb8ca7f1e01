// The windows a script's text gives, read as the show reads its file.
#pragma once
#include <sstream>
#include <string>

#include "timeline/marker_table.h"

inline MarkerWindows windowsFrom(const std::string& script)
{
    std::istringstream in(script);
    return buildMarkerWindows(MarkerTable::fromStream(in));
}
