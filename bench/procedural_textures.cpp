// Times the procedural textures: every texel computed straight from its formula
// on one thread, against the start-up fill (shared rows and columns, threads),
// checking that both give the same texels; with --upload, also the GL upload.
// Usage: bench_procedural_textures [--upload] [runs]
#include <epoxy/gl.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gfx/procedural_textures.h"
#include "gfx/texture.h"
#include "platform/platform.h"

namespace {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Set {
    Texture circle{64, 64, "circle"}, flare{32, 32, "flare"}, bigflare{512, 512, "bigflare"},
        blueflare{32, 32, "blueflare"}, noise{1024, 1024, "noise"}, clouds{256, 256, "clouds"},
        surround{512, 512, "surround"}, mask{512, 512, "mask"};
    std::vector<Texture*> all() { return {&circle, &flare, &bigflare, &blueflare, &noise, &clouds, &surround, &mask}; }
};

// Every texel from its formula, one thread, nothing shared.
void fillPlainly(Set& s)
{
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            s.clouds.at(y, x) = cloudsTexel(x, y, turbulence(x, y, 256));
    for (int r = 0; r < 512; ++r)
        for (int c = 0; c < 512; ++c) {
            s.bigflare.at(r, c) = bigflareTexel(r, c);
            s.mask.at(r, c) = maskTexel(r, c);
            s.surround.at(r, c) = surroundTexel(surroundWave(c), surroundWave(r));
        }
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x)
            s.noise.at(y, x) = noiseTexel(x, y, turbulence(x, y, 128));
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 64; ++c)
            s.circle.at(r, c) = circleTexel(r, c, 32);
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c) {
            s.flare.at(r, c) = flareTexel(r, c);
            s.blueflare.at(r, c) = blueflareTexel(r, c);
        }
}

void fillFast(Set& s)
{
    fillClouds(s.clouds);
    fillBigflare(s.bigflare);
    fillMask(s.mask);
    fillNoise(s.noise);
    fillSurround(s.surround);
    fillCircle(s.circle);
    fillFlares(s.flare, s.blueflare);
}

// Processor time of the whole process (every thread), in ms.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
           usage.ru_stime.tv_usec / 1e3;
}

double best(int runs, const std::function<void()>& work)
{
    double fastest = 1e30;
    for (int i = 0; i < runs; ++i) {
        double start = nowMs();
        work();
        fastest = std::min(fastest, nowMs() - start);
    }
    return fastest;
}

} // namespace

int main(int argc, char** argv)
{
    bool upload = false;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--upload") == 0)
            upload = true;
        else
            runs = std::max(1, std::atoi(argv[i]));
    }

    Set plain, fast;
    double cpu0 = cpuMs();
    double plainMs = best(runs, [&] { fillPlainly(plain); });
    double cpu1 = cpuMs();
    double fastMs = best(runs, [&] { fillFast(fast); });
    double cpu2 = cpuMs();
    std::vector<Texture*> a = plain.all(), b = fast.all();
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i]->pixels != b[i]->pixels) {
            std::fprintf(stderr, "texture '%s' differs between the two fills\n", a[i]->name);
            return 1;
        }
    std::printf("fill, every texel from its formula, one thread: %8.1f ms wall (best of %d), %8.1f ms cpu (mean)\n",
                plainMs, runs, (cpu1 - cpu0) / runs);
    std::printf("fill as at start-up:                             %8.1f ms wall (best of %d), %8.1f ms cpu (mean)\n",
                fastMs, runs, (cpu2 - cpu1) / runs);
    std::printf("texels identical; %u threads available\n", std::thread::hardware_concurrency());

    if (upload) {
        std::string error;
        platform::WindowRequest request{"bench", 320, 200, false, 24};
        if (!platform::initVideo(error) || !platform::openWindow(request, error)) {
            std::fprintf(stderr, "no GL context: %s\n", error.c_str());
            return 1;
        }
        double uploadMs = best(runs, [&] {
            for (Texture* t : {&fast.flare, &fast.mask, &fast.bigflare, &fast.circle, &fast.clouds,
                               &fast.blueflare, &fast.surround, &fast.noise}) {
                t->upload();
            }
            glFinish();
            for (Texture* t : fast.all())
                glDeleteTextures(1, &t->glName);
        });
        std::printf("upload of the eight (mipmaps built by GLU):      %8.1f ms\n", uploadMs);
        platform::shutdown();
    }
    return 0;
}
