// The whole show against stored references: captured headless at 1 fps and
// 160 x 100, every frame's pixels hashed and compared with the hash kept in
// show_160x100.txt. A change to anything a scene draws shows up here.
//
// On the renderer the references were made with, every frame must match byte
// for byte. On another renderer version the test says so and compares each
// frame's 8 x 5 grid of block means within kBlockTolerance instead.
//
// A capture of a range shows the same frames as the whole capture at the same
// moments, and is checked against the same references.
//
// Renew the references after an intended change with `make references`, and
// say in that commit why the picture changed.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using testsupport::Image;

constexpr int kWidth = 160;
constexpr int kHeight = 100;
constexpr int kGridX = 8, kGridY = 5; // blocks of 20 x 20 pixels
// Levels (0..255) a block's mean may move on another renderer version: enough
// for a rasteriser's edge rules and rounding, far below a moved or recoloured object.
constexpr double kBlockTolerance = 12.0;

struct FrameRecord {
    std::string hash;
    std::vector<double> blocks; // kGridX * kGridY means, rows top-down
};

struct References {
    std::string renderer;
    std::vector<FrameRecord> frames;
};

std::string pixelHash(const Image& image)
{
    uint64_t h = 14695981039346656037ull; // FNV-1a, 64 bits
    for (uint8_t byte : image.rgb) {
        h ^= byte;
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

FrameRecord record(const Image& image)
{
    FrameRecord r{pixelHash(image), {}};
    const int bw = image.width / kGridX, bh = image.height / kGridY;
    for (int y = 0; y < kGridY; ++y)
        for (int x = 0; x < kGridX; ++x)
            r.blocks.push_back(std::round(image.meanLevel(x * bw, y * bh, (x + 1) * bw, (y + 1) * bh) * 10.0) / 10.0);
    return r;
}

// The renderer and its version, as this machine's off-screen GL reports them.
std::string rendererHere()
{
    std::string error;
    if (!platform::initVideo(error))
        return "none (" + error + ")";
    platform::setMessageBoxesEnabled(false);
    platform::WindowRequest request{"velmora references", 64, 64, false, 24};
    if (!platform::openWindow(request, error))
        return "none (" + error + ")";
    std::string name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    name += " | ";
    name += reinterpret_cast<const char*>(glGetString(GL_VERSION));
    platform::closeWindow();
    platform::shutdown();
    return name;
}

References readReferences(const std::string& path)
{
    References refs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("# renderer: ", 0) == 0)
            refs.renderer = line.substr(12);
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        FrameRecord r;
        fields >> name >> r.hash;
        double v;
        while (fields >> v)
            r.blocks.push_back(v);
        refs.frames.push_back(r);
    }
    return refs;
}

void writeReferences(const std::string& path, const std::string& renderer, const std::vector<FrameRecord>& frames)
{
    std::ofstream out(path);
    out << "# The whole show at 1 fps and 160 x 100, captured headless: per frame, the\n"
           "# FNV-1a hash of its RGB bytes and its 8 x 5 block means. Renewed by\n"
           "# `make references`; see tests/reference/show_reference_test.cpp.\n";
    out << "# renderer: " << renderer << "\n";
    for (size_t k = 0; k < frames.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05zu", k);
        out << name << ' ' << frames[k].hash;
        for (double v : frames[k].blocks) {
            char level[16];
            std::snprintf(level, sizeof level, " %.1f", v);
            out << level;
        }
        out << '\n';
    }
}

// Captures at 1 fps and 160 x 100 with the given options; the frames, in order.
std::vector<FrameRecord> capture(const std::string& tag, std::vector<std::string> options)
{
    const std::string dir = testsupport::makeWorkDir(tag);
    options.insert(options.end(), {"--windowed", "--mode", "160x100", "--fps", "1", "--capture", "f"});
    auto run = testsupport::runVelmora(dir, options, 600);
    EXPECT_EQ(run.exitCode, 0) << run.err;

    std::vector<FrameRecord> frames;
    while (testsupport::fileExists(testsupport::framePath(dir + "/f", static_cast<int>(frames.size())))) {
        Image image = testsupport::readFrame(testsupport::framePath(dir + "/f", static_cast<int>(frames.size())));
        EXPECT_EQ(image.width, kWidth);
        EXPECT_EQ(image.height, kHeight);
        frames.push_back(record(image));
    }
    return frames;
}

// How many frames differ from the references from frame first on: byte for
// byte on the references' renderer, by block means on another. The first
// twenty are reported.
int differingFrames(const std::vector<FrameRecord>& frames, const References& refs, size_t first, bool sameRenderer)
{
    int differing = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
        const FrameRecord& ref = refs.frames.at(first + k);
        if (ref.blocks.size() != frames[k].blocks.size()) {
            ADD_FAILURE() << "frame " << first + k << ": the reference has another grid";
            return static_cast<int>(frames.size());
        }
        double worst = 0.0;
        for (size_t b = 0; b < ref.blocks.size(); ++b)
            worst = std::max(worst, std::fabs(ref.blocks[b] - frames[k].blocks[b]));
        bool same = sameRenderer ? ref.hash == frames[k].hash : worst <= kBlockTolerance;
        if (!same && ++differing <= 20)
            ADD_FAILURE() << "frame " << first + k << " (" << first + k << " s) differs from its reference: "
                          << "largest block change " << worst << " levels";
    }
    return differing;
}

TEST(ShowReference, EveryFrameOfTheWholeShowMatchesItsReference)
{
    const std::string renderer = rendererHere();
    const std::vector<FrameRecord> frames = capture("reference", {});
    ASSERT_EQ(frames.size(), 204u) << "one frame a second from 0 to the show's end at 203 s";

    if (std::getenv("VELMORA_RENEW_REFERENCES")) {
        writeReferences(VELMORA_REFERENCE_FILE, renderer, frames);
        std::printf("references renewed in %s on %s\n", VELMORA_REFERENCE_FILE, renderer.c_str());
        return;
    }

    const References refs = readReferences(VELMORA_REFERENCE_FILE);
    ASSERT_EQ(refs.frames.size(), frames.size()) << "references missing or short: run `make references`";
    const bool sameRenderer = refs.renderer == renderer;
    if (!sameRenderer)
        std::printf("The references come from '%s', this machine renders with '%s': each block's mean "
                    "is compared within %.0f levels instead of byte for byte.\n",
                    refs.renderer.c_str(), renderer.c_str(), kBlockTolerance);

    const int differing = differingFrames(frames, refs, 0, sameRenderer);
    EXPECT_EQ(differing, 0) << differing << " of " << frames.size() << " frames differ";
}

// A capture from a later moment first runs the show from 0 unseen: the smoke
// at 30 s has its particles and beats, the tree at 150 s its flow field and
// the light the roots' last frame left.
TEST(ShowReference, ARangeCaptureShowsTheWholeCapturesFramesAtTheSameMoments)
{
    const References refs = readReferences(VELMORA_REFERENCE_FILE);
    ASSERT_EQ(refs.frames.size(), 204u) << "references missing or short: run `make references`";
    const bool sameRenderer = refs.renderer == rendererHere();
    for (int second : {30, 150}) {
        const std::vector<FrameRecord> frames = capture(
            "range-" + std::to_string(second),
            {"--from", std::to_string(second * 1000), "--to", std::to_string(second * 1000 + 1000)});
        ASSERT_EQ(frames.size(), 2u) << second;
        EXPECT_EQ(differingFrames(frames, refs, static_cast<size_t>(second), sameRenderer), 0) << second;
    }
}

} // namespace
