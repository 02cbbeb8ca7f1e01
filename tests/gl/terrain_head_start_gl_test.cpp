#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/c_rand.h"
#include "gfx/terrain.h"
#include "gl/gl_context.h"
#include "scenes/scene_list.h"

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
    const DisplaySettings display;
    const Stage stage{images(), display};
    const int rows = static_cast<int>(kSceneList.size());
    int terrain = 0;
    for (; terrain < rows; ++terrain) {
        const SceneRow& row = kSceneList[terrain];
        if (row.step && std::string(row.step) == "terrain")
            break;
        if (row.setup)
            row.setup(stage);
    }
    ASSERT_LT(terrain, rows);
    CRandState expected = cRandInitialState();
    cRandSkip(expected, kCRandDrawsBeforeTerrain);
    for (int k = 0; k < 40; ++k)
        ASSERT_EQ(cRandNext(cRandShared()), cRandNext(expected)) << "draw " << k << " after the steps";

    for (int i = terrain - 1; i >= 0; --i)
        if (kSceneList[i].release)
            kSceneList[i].release();
    cRandShared() = saved;
    std::filesystem::current_path(previous);
}
