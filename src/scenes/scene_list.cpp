#include "scenes/scene_list.h"

#include "effects/beast_swarms.h"
#include "effects/sky_and_ground.h"
#include "effects/stairway.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"
#include "gfx/terrain.h"
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

namespace {

// The order is the start-up order, which fixes the generators' sequences, the
// loading bar and the log; the scenes' rows also keep the order in which a
// frame draws their windows.
const SceneRow kRows[] = {
    {.step = "Depth Reader", .setup = [](const Stage&) { createShaderProgram(Shader::DepthReader); },
     .releaseStep = "shader programs", .release = destroyShaderPrograms, .tool = true, .makes = kShaderPrograms},
    {.step = "Gaussian Blur", .setup = [](const Stage&) { createShaderProgram(Shader::GaussianBlur); },
     .tool = true},
    {.step = "Bokeh Depth of Field (DOF)", .setup = [](const Stage&) { createShaderProgram(Shader::BokehDof); },
     .tool = true},
    {.step = "Logo post-process", .setup = [](const Stage&) { createShaderProgram(Shader::LogoPostProcess); },
     .tool = true},
    {.step = "Snake-Cube bloomer", .setup = [](const Stage&) { createShaderProgram(Shader::SnakeCubeBloomer); },
     .tool = true},
    {.step = "Bump mapping", .setup = [](const Stage&) { createShaderProgram(Shader::BumpMapping); }, .tool = true},
    {.step = "silvate logo", .setup = [](const Stage&) { createShaderProgram(Shader::SilvateLogo); }, .tool = true},
    {.step = "screen quads", .setup = [](const Stage& s) { s.images.buildQuadLists(); }, .tool = true},
    {.step = "quadric", .setup = [](const Stage&) { createQuadric(); },
     .releaseStep = "quadric", .release = deleteQuadric, .tool = true, .makes = kQuadric},
    {.step = "procedural textures", .setup = [](const Stage&) { createProceduralTextures(); },
     .releaseStep = "procedural textures", .release = releaseProceduralTextures, .makes = kProceduralTextures},
    {.step = "overlay", .setup = [](const Stage& s) { loadOverlayTexture(s.images); },
     .releaseStep = "overlay texture", .release = releaseOverlayTexture},
    {.step = "logo scene", .setup = setupMist, .releaseStep = "logo scene", .release = releaseMist,
     .windows = {{Marker::SousLaBrume, look::mist}, {Marker::DansLeBrouillard, look::mist}},
     .firstTwoExclusive = true, .update = updateMist, .draw = drawMist, .makes = kSmokeColumn,
     .uses = kShaderPrograms | kProceduralTextures | kFoggedTerrain},
    {.step = "sky and ground", .setup = [](const Stage& s) { setupSkyAndGround(s.images); },
     .releaseStep = "sky and ground", .release = releaseSkyAndGround, .makes = kSkyAndGround, .uses = kQuadric},
    {.step = "terrain", .setup = [](const Stage&) { buildTerrainGrid(); },
     .releaseStep = "terrain", .release = releaseTerrain, .makes = kFoggedTerrain},
    {.step = "beast", .setup = [](const Stage& s) { setupBeastSwarms(s.images); },
     .releaseStep = "beast", .release = releaseBeastSwarms, .makes = kBeastSwarms},
    {.windows = {{Marker::Directorcut, look::lair}}, .update = updateLair, .draw = drawLair,
     .uses = kShaderPrograms | kFoggedTerrain | kSmokeColumn | kBeastSwarms},
    {.windows = {{Marker::Linkbeast, look::beast}, {Marker::LaBeteSeDechaine, look::beast}},
     .update = updateBeast, .draw = drawBeast,
     .uses = kShaderPrograms | kFoggedTerrain | kSmokeColumn | kBeastSwarms},
    {.step = "moon scene", .setup = setupClouds, .releaseStep = "moon scene", .release = releaseClouds,
     .windows = {{Marker::DansLesNuees, look::clouds}}, .update = updateClouds, .draw = drawClouds,
     .makes = kCreature | kMoonPicture, .uses = kProceduralTextures | kSmokeColumn},
    {.step = "roots", .setup = setupRoots, .releaseStep = "root paths", .release = releaseRoots,
     .windows = {{Marker::Roots, look::roots}}, .update = updateRoots, .draw = drawRoots, .makes = kBarkMaps,
     .uses = kShaderPrograms},
    {.windows = {{Marker::Iterations, look::mushrooms}}, .update = updateMushrooms, .draw = drawMushrooms,
     .uses = kShaderPrograms | kProceduralTextures | kSkyAndGround | kCreature | kMoonPicture | kStairway},
    {.windows = {{Marker::Noname, look::tree}, {Marker::Noname2, look::tree}}, .update = updateTree, .draw = drawTree,
     .uses = kQuadric | kProceduralTextures},
    {.step = "ground dust", .setup = setupGreetings, .releaseStep = "ground plane", .release = releaseGreetings,
     .windows = {{Marker::Greetings, look::greetings}}, .update = updateGreetings, .draw = drawGreetings,
     .uses = kShaderPrograms | kQuadric | kProceduralTextures | kBarkMaps},
    // Made after the ground dust, whose heights come first in the generator's sequence.
    {.step = "stairway", .setup = [](const Stage& s) { setupStairway(s.images); },
     .releaseStep = "stairway", .release = releaseStairway, .makes = kStairway},
    {.step = "nothing"}, // the bar moves on without work
    {.step = "opening text", .setup = setupQuotation, .releaseStep = "opening text", .release = releaseQuotation,
     .windows = {{Marker::Citation, look::quotation}, {Marker::Citation2, look::quotation},
                 {Marker::Rappel, look::recall}},
     .firstTwoExclusive = true, .draw = drawQuotation, .makes = kFont},
    {.step = "framebuffers", .setup = [](const Stage& s) { createFrameBuffers(s.display.width(), s.display.height()); },
     .releaseStep = "framebuffers", .release = destroyFrameBuffers, .tool = true},
};

// The row that draws window w and the window's entry there, or nulls.
struct Drawing {
    const SceneRow* row = nullptr;
    const SceneWindow* window = nullptr;
};

Drawing drawing(Marker w)
{
    for (const SceneRow& row : kRows)
        for (const SceneWindow& window : row.windows)
            if (window.look && window.marker == w)
                return {&row, &window};
    return {};
}

} // namespace

const std::span<const SceneRow> kSceneList = kRows;

int startupStepCount()
{
    int steps = 0;
    for (const SceneRow& row : kSceneList)
        steps += row.step != nullptr;
    return steps;
}

std::vector<Marker> compositesAt(int32_t t, const MarkerWindows& ws)
{
    std::vector<Marker> order;
    for (const SceneRow& row : kSceneList) {
        bool firstDrawn = false;
        for (int i = 0; i < 3 && row.windows[i].look; ++i) {
            const Marker w = row.windows[i].marker;
            if (i == 1 && row.firstTwoExclusive && firstDrawn)
                continue;
            if (inWindow(t, ws[w])) {
                order.push_back(w);
                firstDrawn = firstDrawn || i == 0;
            }
        }
    }
    return order;
}

WindowValues windowValues(Marker w, int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    if (const SceneWindow* window = drawing(w).window)
        v = window->look(w, t, ws);
    v.window = w;
    return v;
}

Marker shownWindow(int32_t t, const MarkerWindows& windows)
{
    std::vector<Marker> order = compositesAt(t, windows);
    return order.empty() ? Marker::Count : order.back();
}

void updateScene(Marker w, const SceneCall& call, const FrameTime& time, FlowField& flow)
{
    const SceneRow* row = drawing(w).row;
    if (row && row->update)
        row->update(call, time, flow);
}

void drawScene(const Stage& stage, Marker w, const SceneCall& call, const FrameTime& time, const FlowField& flow)
{
    if (const SceneRow* row = drawing(w).row)
        row->draw(stage, call, time, flow);
}
