// What a broken title model does to start-up.
#include <gtest/gtest.h>

#include "support/test_support.h"

using namespace testsupport;

namespace {

const std::string kModel = "3D/starttext-export.3ds";

} // namespace

TEST(TitleModel, AMissingOrTruncatedModelEndsStartUpNamingItWithExitOne)
{
    for (bool truncated : {false, true}) {
        std::string dir = makeWorkDir(truncated ? "cutmodel" : "nomodel", {kModel});
        if (truncated) {
            std::string bytes = readFile(std::string(VELMORA_DATA_DIR) + "/" + kModel);
            writeFile(dir + "/data/" + kModel, bytes.substr(0, bytes.size() / 3));
        }
        expectStartupFailure(runVelmora(dir, captureArgs("f", 2750, 2750)), dir, kModel,
                             "3DS LOADER :: 'data/3D/starttext-export.3ds' cannot be loaded");
    }
}
