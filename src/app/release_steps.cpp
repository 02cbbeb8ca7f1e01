// Release steps whose owners have not landed yet: each is empty until the
// resources it releases exist.
#include "app/shutdown.h"

void releaseTerrain() {}
void releaseBeast() {}
void releaseLogoScene() {}
void releaseMoonScene() {}
void releaseRootPaths() {}
void releaseStairway() {}
