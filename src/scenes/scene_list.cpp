#include "scenes/scene_list.h"

#include <iterator>

#include "core/display_settings.h"
#include "core/log.h"
#include "effects/sky_and_ground.h"
#include "effects/stairway.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"
#include "gfx/terrain.h"
#include "platform/platform.h"
#include "post/shader_catalogue.h"
#include "scenes/beast.h"
#include "scenes/clouds.h"
#include "scenes/greetings.h"
#include "scenes/lair.h"
#include "scenes/mist.h"
#include "scenes/mushrooms.h"
#include "scenes/quotation.h"
#include "scenes/roots.h"
#include "scenes/tree.h"
#include "sound/sound_manager.h"

// Start-up runs the rows' set-ups in this order (a named row without one only
// moves the loading bar); shutdown runs the releases by releaseOrder.
const SceneRow kSceneTable[] = {
    {.name = "Depth Reader", .setup = [] { createShaderProgram(Shader::DepthReader); },
     .releaseName = "shader programs", .release = destroyShaderPrograms, .releaseOrder = 13},
    {.name = "Gaussian Blur", .setup = [] { createShaderProgram(Shader::GaussianBlur); }},
    {.name = "Bokeh Depth of Field (DOF)", .setup = [] { createShaderProgram(Shader::BokehDof); }},
    {.name = "Logo post-process", .setup = [] { createShaderProgram(Shader::LogoPostProcess); }},
    {.name = "Snake-Cube bloomer", .setup = [] { createShaderProgram(Shader::SnakeCubeBloomer); }},
    {.name = "Bump mapping", .setup = [] { createShaderProgram(Shader::BumpMapping); }},
    {.name = "silvate logo", .setup = [] { createShaderProgram(Shader::SilvateLogo); }},
    {.name = "screen quads", .setup = [] { imageManager().buildQuadLists(); }},
    {.name = "quadric", .setup = createQuadric, .releaseName = "quadric", .release = deleteQuadric, .releaseOrder = 12},
    {.name = "procedural textures", .setup = createProceduralTextures,
     .releaseName = "procedural textures", .release = releaseProceduralTextures, .releaseOrder = 1},
    {.name = "overlay", .setup = loadOverlayTexture,
     .releaseName = "overlay texture", .release = releaseOverlayTexture, .releaseOrder = 2},
    {.name = "logo scene", .setup = setupMist, .releaseName = "logo scene", .release = releaseMist,
     .releaseOrder = 6, .draws = {{Marker::SousLaBrume, drawMist}, {Marker::DansLeBrouillard, drawMist}}},
    {.name = "sky and ground", .setup = setupSkyAndGround,
     .releaseName = "sky and ground", .release = releaseSkyAndGround, .releaseOrder = 3},
    {.name = "terrain", .setup = buildTerrainGrid, .releaseName = "terrain", .release = releaseTerrain, .releaseOrder = 4},
    {.name = "beast", .setup = setupBeastSwarms, .releaseName = "beast", .release = releaseBeastSwarms, .releaseOrder = 5,
     .draws = {{Marker::Linkbeast, drawBeast}, {Marker::LaBeteSeDechaine, drawBeast}}},
    {.name = "moon scene", .setup = setupClouds, .releaseName = "moon scene", .release = releaseClouds,
     .releaseOrder = 7, .draws = {{Marker::DansLesNuees, drawClouds}}},
    {.name = "roots", .setup = setupRoots, .releaseName = "root paths", .release = releaseRoots, .releaseOrder = 9,
     .draws = {{Marker::Roots, drawRoots}}},
    {.name = "ground dust", .setup = setupGreetings,
     .releaseName = "ground plane", .release = releaseGreetings, .releaseOrder = 10,
     .draws = {{Marker::Greetings, drawGreetings}}},
    {.name = "stairway", .setup = setupStairway, .releaseName = "stairway", .release = releaseStairway,
     .releaseOrder = 11, .draws = {{Marker::Iterations, drawMushrooms}}},
    {.name = "nothing"}, // the bar moves on without work
    {.name = "opening text", .setup = setupQuotation,
     .releaseName = "opening text", .release = releaseQuotation, .releaseOrder = 8,
     .draws = {{Marker::Citation, drawQuotation}, {Marker::Citation2, drawQuotation},
               {Marker::Rappel, drawQuotation}}},
    {.name = "framebuffers", .setup = [] { createFrameBuffers(DisplaySettings::width(), DisplaySettings::height()); },
     .releaseName = "framebuffers", .release = destroyFrameBuffers, .releaseOrder = 14},
    {.draws = {{Marker::Directorcut, drawLair}}}, // the lair: the beast's set-up made all it draws
    {.draws = {{Marker::Noname, drawTree}, {Marker::Noname2, drawTree}}}, // the tree owns nothing
    // Made before start-up, released at its end.
    {.releaseName = "image manager", .release = destroyImageManager, .releaseOrder = 15},
    {.releaseName = "sound manager", .release = destroySoundManager, .releaseOrder = 16},
    {.releaseName = "log", .release = closeLog, .releaseOrder = 17},
    {.releaseName = "window", .release = platform::closeWindow, .releaseOrder = 18},
};
const int kSceneRowCount = static_cast<int>(std::size(kSceneTable));

int startupStepCount()
{
    int steps = 0;
    for (const SceneRow& row : kSceneTable)
        steps += row.name != nullptr;
    return steps;
}

void drawScene(Marker w, const SceneCall& call, const FrameTime& time)
{
    for (const SceneRow& row : kSceneTable)
        for (const SceneDraw& d : row.draws)
            if (d.window == w && d.draw)
                d.draw(call, time);
}
