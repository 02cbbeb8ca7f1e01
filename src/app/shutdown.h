// The orderly end of the show: every release step, in order, then the window.
#pragma once

struct ShutdownStep {
    const char* name;
    void (*run)();
};

// The release steps in the order they run.
extern const ShutdownStep kShutdownSteps[];
extern const int kShutdownStepCount;

// Writes the Demo ends line, runs every step, closes the log and the window.
void shutdownShow();

// The steps. Each owner fills its own.
void releaseProceduralTextures();
void releaseOverlayTexture();
void releaseSkyAndGround();
void releaseTerrain();
void releaseBeast();
void releaseLogoScene();
void releaseMoonScene();
void releaseOpeningText();
void releaseRootPaths();
void releaseGroundPlane();
void releaseStairway();
void deleteQuadric();
void destroyShaderPrograms();
void destroyFrameBuffers();
void destroyImageManager();
void destroySoundManager();
