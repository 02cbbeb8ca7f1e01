// Release steps whose owners have not landed yet: each is empty until the
// resources it releases exist.
#include "app/shutdown.h"

void releaseProceduralTextures() {}
void releaseOverlayTexture() {}
void releaseSkyAndGround() {}
void releaseTerrain() {}
void releaseBeast() {}
void releaseLogoScene() {}
void releaseMoonScene() {}
void releaseRootPaths() {}
void releaseGroundPlane() {}
void releaseStairway() {}
void deleteQuadric() {}
void destroyShaderPrograms() {}
void destroyFrameBuffers() {}
void destroyImageManager() {}
void destroySoundManager() {}
