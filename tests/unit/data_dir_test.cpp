// Where the data tree and the log are looked for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/data_dir.h"
#include "core/log.h"

namespace fs = std::filesystem;

namespace {

// A prefix with bin/, share/velmora/data and bin/data, a working directory
// beside it, and the working directory of the test restored at the end.
class DataDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("velmora-datadir-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "prefix/share/velmora/data");
        fs::create_directories(root / "prefix/bin/data");
        fs::create_directories(root / "work");
        program = (root / "prefix/bin/velmora").string();
        home = fs::current_path();
        fs::current_path(root / "work");
    }
    void TearDown() override
    {
        // Back to "data" for whatever runs next in this process.
        fs::create_directories(root / "work/data");
        std::string message;
        chooseDataDir("", "", message);
        fs::current_path(home);
        fs::remove_all(root);
    }
    DataDirChoice choose(const std::string& option)
    {
        return chooseDataDir(option, program, message);
    }
    fs::path root, home;
    std::string program, message;
};

} // namespace

TEST_F(DataDir, TheWorkingDirectoryComesFirstThenTheInstalledTreeThenTheOneBesideTheProgram)
{
    const std::string prefix = (root / "prefix").string();
    fs::create_directory("data");
    ASSERT_EQ(choose(""), DataDirChoice::Found);
    EXPECT_EQ(dataFile("data/gfx/moon.png"), "data/gfx/moon.png");
    fs::remove("data");
    ASSERT_EQ(choose(""), DataDirChoice::Found);
    EXPECT_EQ(dataFile("data/gfx/moon.png"), prefix + "/share/velmora/data/gfx/moon.png");
    // Only names under data/ move.
    EXPECT_EQ(dataFile("/tmp/data/x.ogg"), "/tmp/data/x.ogg");
    EXPECT_EQ(dataFile("database/x"), "database/x");
    fs::remove_all(root / "prefix/share");
    ASSERT_EQ(choose(""), DataDirChoice::Found);
    EXPECT_EQ(dataFile("data/heaven.scpt"), prefix + "/bin/data/heaven.scpt");
    fs::remove(root / "prefix/bin/data");
    EXPECT_EQ(choose(""), DataDirChoice::NotFound);
}

TEST_F(DataDir, TheOptionIsUsedEvenWhenThereIsADataDirectoryHere)
{
    fs::create_directory("data");
    fs::create_directory("mine");
    ASSERT_EQ(choose("mine"), DataDirChoice::Found);
    EXPECT_EQ(dataFile("data/3D/logo2.3ds"), "mine/3D/logo2.3ds");
}

TEST(LogPlace, WithoutAWritableWorkingDirectoryTheLogGoesToTheUsersStateDirectory)
{
    EXPECT_EQ(stateLogFile("/x/state", "/home/u"), "/x/state/velmora/debug_log.txt");
    // A relative XDG_STATE_HOME is ignored, as the base directory rules say.
    EXPECT_EQ(stateLogFile("state", "/home/u"), "/home/u/.local/state/velmora/debug_log.txt");
    EXPECT_EQ(stateLogFile(nullptr, "/home/u"), "/home/u/.local/state/velmora/debug_log.txt");
    EXPECT_EQ(stateLogFile(nullptr, nullptr), "");
}
