// Times the creature's draw on the main thread: one copy per frame in each
// shading mode, lit and textured as the sky scenes draw it, in a 640 x 400
// window. Reports the thread's CPU time per draw (the driver's vertex work
// included) and per frame with the finish that waits for the rasteriser.
// Usage: bench_animated_mesh [frames]   (under xvfb-run for Mesa's llvmpipe)
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "gfx/animated_mesh.h"
#include "gfx/creature_mesh.h"
#include "platform/platform.h"

namespace {

double threadCpuMs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void setUpView()
{
    glViewport(0, 0, 640, 400);
    glClearColor(0.25f, 0.0f, 0.65f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.8, 0.8, -0.5, 0.5, 1.0, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -12.0f);
    glRotatef(180.0f, -1.0f, 0.0f, 0.0f);
    glScalef(3.5f, 3.5f, 3.5f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(0.4f, 0.4f, 0.5f, 1.0f);
}

} // namespace

int main(int argc, char** argv)
{
    platform::keepFreedMemory(); // as the program does
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    std::string error;
    platform::WindowRequest request{"bench animated mesh", 640, 400, false, 24};
    if (!platform::initVideo(error) || !platform::openWindow(request, error)) {
        std::fprintf(stderr, "no GL context: %s\n", error.c_str());
        return 1;
    }
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    // A textured mesh, as both scenes draw it.
    std::vector<unsigned char> texels(64 * 64 * 4);
    for (size_t k = 0; k < texels.size(); ++k)
        texels[k] = static_cast<unsigned char>((k * 2654435761u) >> 24);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glEnable(GL_TEXTURE_2D);

    AnimatedMesh mesh;
    double start = threadCpuMs();
    mesh.load(kCreatureMesh);
    std::printf("load: %.1f ms CPU (%d faces, %d vertices, %d key frames)\n", threadCpuMs() - start, mesh.faceCount,
                mesh.vertexCount, mesh.frameCount);

    for (int mode : {0, 1}) {
        std::vector<double> drawMs, frameMs;
        for (int n = 0; n < frames; ++n) {
            setUpView();
            glFinish();
            double t0 = threadCpuMs();
            mesh.draw(80.0f + 0.41f * n, mode);
            double t1 = threadCpuMs();
            glFinish();
            double t2 = threadCpuMs();
            drawMs.push_back(t1 - t0);
            frameMs.push_back(t2 - t0);
            platform::swapBuffers();
        }
        std::printf("mode %d: draw %.3f ms CPU, draw + finish %.3f ms CPU (medians of %d frames, one copy)\n", mode,
                    median(drawMs), median(frameMs), frames);
    }
    mesh.release();
    glDeleteTextures(1, &texture);
    platform::shutdown();
    return 0;
}
