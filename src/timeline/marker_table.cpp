#include "timeline/marker_table.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {

// No marker name comes near this; longer names are cut so that a huge token
// cannot take the memory with it.
constexpr size_t kMaxNameBytes = 256;
constexpr size_t kMaxNumberChars = 512;

bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void skipBlanks(std::istream& in)
{
    while (isBlank(in.peek()))
        in.get();
}

bool readName(std::istream& in, std::string& name)
{
    skipBlanks(in);
    name.clear();
    int c;
    while ((c = in.peek()) != EOF && !isBlank(c)) {
        if (name.size() < kMaxNameBytes)
            name.push_back(static_cast<char>(in.get()));
        else
            in.get();
    }
    return !name.empty();
}

void readDigits(std::istream& in, std::string& text, bool& any)
{
    while (std::isdigit(in.peek())) {
        char c = static_cast<char>(in.get());
        if (text.size() < kMaxNumberChars)
            text.push_back(c);
        any = true;
    }
}

// A decimal number: optional sign, digits with an optional fraction, an optional exponent.
bool readNumber(std::istream& in, float& value)
{
    skipBlanks(in);
    std::string text;
    if (in.peek() == '+' || in.peek() == '-')
        text.push_back(static_cast<char>(in.get()));
    bool mantissa = false;
    readDigits(in, text, mantissa);
    if (in.peek() == '.') {
        text.push_back(static_cast<char>(in.get()));
        readDigits(in, text, mantissa);
    }
    if (!mantissa)
        return false;
    if (in.peek() == 'e' || in.peek() == 'E') {
        std::string exponent(1, static_cast<char>(in.get()));
        if (in.peek() == '+' || in.peek() == '-')
            exponent.push_back(static_cast<char>(in.get()));
        bool digits = false;
        readDigits(in, exponent, digits);
        if (digits)
            text += exponent;
        // An "e" with no digits after it is dropped and the number ends before it.
    }
    const char* first = text.data();
    if (*first == '+')
        ++first;
    auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        bool negative = text[0] == '-';
        // Tiny magnitudes round to zero, huge ones to infinity.
        bool huge = text.find_first_of("eE") == std::string::npos ||
                    text[text.find_first_of("eE") + 1] != '-';
        value = huge ? std::numeric_limits<float>::infinity() : 0.0f;
        if (negative)
            value = -value;
        return true;
    }
    return error == std::errc();
}

// Float milliseconds to a window bound: truncation toward zero, held inside
// the 32-bit range so that no value of a script is undefined behaviour.
int32_t toBound(float ms)
{
    if (std::isnan(ms))
        return 0;
    if (ms >= 2147483647.0f)
        return std::numeric_limits<int32_t>::max();
    if (ms <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(ms);
}

} // namespace

MarkerTable::MarkerTable(const char* fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (in)
        read(in);
}

MarkerTable MarkerTable::fromStream(std::istream& in)
{
    MarkerTable table;
    table.read(in);
    return table;
}

bool MarkerTable::load(const char* fileName, MarkerTable& table, std::string& why)
{
    std::error_code error;
    auto status = std::filesystem::status(fileName, error);
    if (!std::filesystem::exists(status)) {
        why = "no such file";
        return false;
    }
    // A directory opens like a file on Linux and then reads as nothing.
    if (std::filesystem::is_directory(status)) {
        why = "a directory";
        return false;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        why = std::strerror(errno);
        return false;
    }
    MarkerTable read;
    read.read(in);
    if (in.bad()) {
        why = "read error";
        return false;
    }
    table = std::move(read);
    return true;
}

void MarkerTable::read(std::istream& in)
{
    std::string name;
    float value = 0.0f;
    // A name with no readable number after it ends the reading and stores nothing.
    while (readName(in, name) && readNumber(in, value))
        markers_[name] = value;
}

float MarkerTable::lookup(const std::string& name, float fallback) const
{
    auto it = markers_.find(name);
    return it == markers_.end() ? fallback : it->second;
}

const std::array<MarkerDefinition, kMarkerCount> kMarkerDefinitions = {{
    {"sous_la_brume", nullptr, 12000, 24060},
    {"dans_le_brouillard", nullptr, 24060, 36000},
    {"o\xC3\xB9_g\xC3\xAEt_la_b\xC3\xAAte", "o\xF9_g\xEEt_la_b\xEAte", 36000, 52000},
    {"directorcut", nullptr, 36000, 48000},
    {"linkbeast", nullptr, 48000, 54000},
    {"linkbeast2", nullptr, 40000, 54000},
    {"la_b\xC3\xAAte_se_d\xC3\xA9" "cha\xC3\xAEne", "la_b\xEAte_se_d\xE9" "cha\xEEne", 54000, 72000},
    {"citation", nullptr, 0, 5500},
    {"citation2", nullptr, 5500, 12000},
    {"dans_les_nu\xC3\xA9" "es", "dans_les_nu\xE9" "es", 72000, 95500},
    {"roots", nullptr, 120000, 143940},
    {"iterations", nullptr, 95500, 120000},
    {"demoend", nullptr, 203000, 204000},
    {"noname", nullptr, 143940, 155970},
    {"noname2", nullptr, 155970, 168000},
    {"greetings", nullptr, 168000, 192000},
    {"rappel", nullptr, 192000, 204000},
}};

namespace {

// The Windows-1252 spelling wins over the UTF-8 one when a script holds both.
float lookupBound(const MarkerTable& table, const MarkerDefinition& def, const char* suffix,
                  float fallback)
{
    float value = table.lookup(std::string(def.name) + suffix, fallback);
    if (def.legacyName)
        value = table.lookup(std::string(def.legacyName) + suffix, value);
    return value;
}

} // namespace

MarkerWindows buildMarkerWindows(const MarkerTable& table)
{
    MarkerWindows result{};
    for (int i = 0; i < kMarkerCount; ++i) {
        const MarkerDefinition& def = kMarkerDefinitions[i];
        TimeWindow& w = result.windows[i];
        w.start = toBound(lookupBound(table, def, ".start", static_cast<float>(def.defaultStart)));
        if (static_cast<Marker>(i) == Marker::Demoend) {
            // The end of the show has a key of its own, a second after its start by default.
            float fallback = static_cast<float>(w.start) + 1000.0f;
            w.end = toBound(table.lookup("demoend.end", fallback));
        } else {
            w.end = toBound(lookupBound(table, def, ".end", static_cast<float>(def.defaultEnd)));
        }
    }
    return result;
}

bool reloadTimeline(const char* scriptFile, MarkerWindows& windows, std::string& why)
{
    MarkerTable table;
    if (!MarkerTable::load(scriptFile, table, why))
        return false;
    windows = buildMarkerWindows(table);
    return true;
}
