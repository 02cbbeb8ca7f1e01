// A script's text read as the show reads its file: its table and its windows.
#pragma once
#include <sstream>
#include <string>

#include "timeline/marker_table.h"

inline MarkerTable tableFrom(const std::string& script)
{
    std::istringstream in(script);
    return MarkerTable::fromStream(in);
}

inline MarkerWindows windowsFrom(const std::string& script)
{
    return buildMarkerWindows(tableFrom(script));
}
