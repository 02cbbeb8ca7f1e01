#include "app/shutdown.h"

#include "core/log.h"
#include "platform/platform.h"

const ShutdownStep kShutdownSteps[] = {
    {"procedural textures", releaseProceduralTextures},
    {"overlay texture", releaseOverlayTexture},
    {"sky and ground", releaseSkyAndGround},
    {"terrain", releaseTerrain},
    {"beast", releaseBeast},
    {"logo scene", releaseLogoScene},
    {"moon scene", releaseMoonScene},
    {"opening text", releaseOpeningText},
    {"root paths", releaseRootPaths},
    {"ground plane", releaseGroundPlane},
    {"stairway", releaseStairway},
    {"quadric", deleteQuadric},
    {"shader programs", destroyShaderPrograms},
    {"framebuffers", destroyFrameBuffers},
    {"image manager", destroyImageManager},
    {"sound manager", destroySoundManager},
    {"log", closeLog},
    {"window", platform::closeWindow},
};
const int kShutdownStepCount = static_cast<int>(std::size(kShutdownSteps));

void shutdownShow()
{
    logWrite("%s", kLogDemoEnds);
    for (const ShutdownStep& step : kShutdownSteps)
        step.run();
}
