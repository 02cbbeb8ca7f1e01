#include "app/scene_table.h"

#include <iterator>

#include "core/display_settings.h"
#include "core/log.h"
#include "effects/branch_scene.h"
#include "effects/opening_text.h"
#include "effects/sky_and_ground.h"
#include "effects/stairway.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"
#include "gfx/terrain.h"
#include "platform/platform.h"
#include "post/beast_scene.h"
#include "post/greetings_scene.h"
#include "post/iterations_scene.h"
#include "post/lair_scene.h"
#include "post/mist_scene.h"
#include "post/moon_scene.h"
#include "post/roots_scene.h"
#include "post/shader_catalogue.h"
#include "sound/sound_manager.h"

namespace {
void drawOpeningTextScene(const SceneCall& c, const FrameTime&, const FlowField&) { drawOpeningText(c.r, c.mode); }
} // namespace

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
    {.name = "logo scene", .setup = setupLogoScene, .releaseName = "logo scene", .release = releaseLogoScene,
     .releaseOrder = 6,
     .draws = {{Window::SousLaBrume, updateMistScene, drawMistScene},
               {Window::DansLeBrouillard, updateMistScene, drawMistScene}}},
    {.name = "sky and ground", .setup = setupSkyAndGround,
     .releaseName = "sky and ground", .release = releaseSkyAndGround, .releaseOrder = 3},
    {.name = "terrain", .setup = buildTerrainGrid, .releaseName = "terrain", .release = releaseTerrain, .releaseOrder = 4},
    {.name = "beast", .setup = setupBeast, .releaseName = "beast", .release = releaseBeast, .releaseOrder = 5,
     .draws = {{Window::Linkbeast, updateBeastScene, drawBeastScene},
               {Window::LaBeteSeDechaine, updateBeastScene, drawBeastScene}}},
    {.name = "moon scene", .setup = setupMoonScene, .releaseName = "moon scene", .release = releaseMoonScene,
     .releaseOrder = 7, .draws = {{Window::DansLesNuees, updateMoonScene, drawMoonScene}}},
    {.name = "roots", .setup = setupRoots, .releaseName = "root paths", .release = releaseRootPaths, .releaseOrder = 9,
     .draws = {{Window::Roots, updateRootsScene, drawRootsScene}}},
    {.name = "ground dust", .setup = setupGroundDust,
     .releaseName = "ground plane", .release = releaseGroundPlane, .releaseOrder = 10,
     .draws = {{Window::Greetings, updateGreetingsScene, drawGreetingsScene}}},
    {.name = "stairway", .setup = setupStairway, .releaseName = "stairway", .release = releaseStairway,
     .releaseOrder = 11, .draws = {{Window::Iterations, updateIterationsScene, drawIterationsScene}}},
    {.name = "nothing"}, // the bar moves on without work
    {.name = "opening text", .setup = setupOpeningText,
     .releaseName = "opening text", .release = releaseOpeningText, .releaseOrder = 8,
     .draws = {{Window::Citation, nullptr, drawOpeningTextScene},
               {Window::Citation2, nullptr, drawOpeningTextScene},
               {Window::Rappel, nullptr, drawOpeningTextScene}}}, // the quotation moves nothing on
    {.name = "framebuffers", .setup = [] { createFrameBuffers(DisplaySettings::width(), DisplaySettings::height()); },
     .releaseName = "framebuffers", .release = destroyFrameBuffers, .releaseOrder = 14},
    // The lair: the beast's set-up made all it draws.
    {.draws = {{Window::Directorcut, updateLairScene, drawLairScene}}},
    {.draws = {{Window::Noname, updateBranchScene, drawBranchScene},
               {Window::Noname2, updateBranchScene, drawBranchScene}}}, // the tree owns nothing
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

void updateScene(Window w, const SceneCall& call, const FrameTime& time, FlowField& flow)
{
    for (const SceneRow& row : kSceneTable)
        for (const SceneDraw& d : row.draws)
            if (d.window == w && d.update)
                d.update(call, time, flow);
}

void drawScene(Window w, const SceneCall& call, const FrameTime& time, const FlowField& flow)
{
    for (const SceneRow& row : kSceneTable)
        for (const SceneDraw& d : row.draws)
            if (d.window == w && d.draw)
                d.draw(call, time, flow);
}
