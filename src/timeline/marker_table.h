// The timeline script: named markers in milliseconds of music time, read once
// from data/heaven.scpt, and the seventeen marker windows built from them.
#pragma once
#include <array>
#include <istream>
#include <map>
#include <string>

#include "core/time_window.h"

class MarkerTable {
public:
    MarkerTable() = default;
    // Reads the file; a missing or unreadable file gives an empty table.
    explicit MarkerTable(const char* fileName);
    // Reads pairs of a name and a number from any stream (the tests use strings).
    static MarkerTable fromStream(std::istream& in);
    // Reads the file by the same rules, but tells a file that cannot be read
    // (missing, a directory, unreadable) from an empty one: false, with why.
    static bool load(const char* fileName, MarkerTable& table, std::string& why);

    // The value stored under name, or fallback. Never adds a key.
    float lookup(const std::string& name, float fallback) const;
    size_t size() const { return markers_.size(); }

private:
    void read(std::istream& in);
    std::map<std::string, float> markers_; // std::string compares as unsigned bytes
};

// The marker windows, in the order they are stored and built: each is a span
// of show time named after its markers in the script.
enum class Marker {
    SousLaBrume,
    DansLeBrouillard,
    OuGitLaBete,
    Directorcut,
    Linkbeast,
    Linkbeast2,
    LaBeteSeDechaine,
    Citation,
    Citation2,
    DansLesNuees,
    Roots,
    Iterations,
    Demoend,
    Noname,
    Noname2,
    Greetings,
    Rappel,
    Count
};

constexpr int kMarkerCount = static_cast<int>(Marker::Count);

// What a window is called and where it lies when the script does not say.
struct MarkerDefinition {
    const char* name;      // marker name without ".start"/".end", UTF-8
    const char* legacyName; // the same in Windows-1252 where it differs, else nullptr
    int32_t defaultStart;
    int32_t defaultEnd;
};

extern const std::array<MarkerDefinition, kMarkerCount> kMarkerDefinitions;

struct MarkerWindows {
    std::array<TimeWindow, kMarkerCount> windows;
    const TimeWindow& operator[](Marker w) const { return windows[static_cast<int>(w)]; }
};

// Builds the windows from the table, bound by bound in storage order.
MarkerWindows buildMarkerWindows(const MarkerTable& table);

// Reads the script again. A file that cannot be read keeps the windows and
// returns false with why; anything readable replaces them.
bool reloadTimeline(const char* scriptFile, MarkerWindows& windows, std::string& why);
