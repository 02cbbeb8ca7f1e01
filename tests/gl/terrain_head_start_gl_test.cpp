#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/scene_table.h"
#include "core/c_rand.h"
#include "gfx/terrain.h"
#include "gl/gl_context.h"

using namespace gltest;

// The terrain's heights are started at launch from the C-library state that
// the steps before the terrain's are assumed to leave; were that count wrong,
// the step would quietly build them again, and start-up would lose the gain.
TEST(TerrainHeadStart, TheStepsBeforeTheTerrainsDrawFromTheCLibraryAsOftenAsItAssumes)
{
    resetState();
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(VELMORA_DATA_DIR).parent_path());
    CRandState saved = cRandShared();
    cRandShared() = cRandInitialState();
    int terrain = 0;
    for (; terrain < kSceneRowCount; ++terrain) {
        const SceneRow& row = kSceneTable[terrain];
        if (row.name && std::string(row.name) == "terrain")
            break;
        if (row.setup)
            row.setup();
    }
    ASSERT_LT(terrain, kSceneRowCount);
    CRandState expected = cRandInitialState();
    cRandSkip(expected, kCRandDrawsBeforeTerrain);
    for (int k = 0; k < 40; ++k)
        ASSERT_EQ(cRandNext(cRandShared()), cRandNext(expected)) << "draw " << k << " after the steps";

    for (int i = terrain - 1; i >= 0; --i)
        if (kSceneTable[i].release)
            kSceneTable[i].release();
    cRandShared() = saved;
    std::filesystem::current_path(previous);
}
