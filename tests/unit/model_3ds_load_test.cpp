// Loading 3DS files from disk: names, paths and what a failed load leaves in
// the log and on the way out.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/model_3ds_writer.h"
#include "core/log.h"
#include "gfx/model_3ds.h"

namespace {

class Model3dsLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("velmora_model3ds_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "models");
        logPath = (dir / "debug_log.txt").string();
        ASSERT_TRUE(openLog(logPath.c_str()));
    }
    void TearDown() override
    {
        closeLog();
        std::filesystem::remove_all(dir);
    }
    std::string logText()
    {
        closeLog();
        std::ifstream in(logPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string writeModel(const std::string& name, std::vector<unsigned char> bytes)
    {
        std::string file = (dir / "models" / name).string();
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file;
    }
    static std::vector<unsigned char> triangle()
    {
        assetgen::Mesh3ds mesh;
        mesh.name = "tri";
        mesh.addVertex(0, 0, 0, 0, 0);
        mesh.addVertex(1, 0, 0, 1, 0);
        mesh.addVertex(0, 1, 0, 0, 1);
        mesh.addTriangle(0, 1, 2);
        mesh.groupAll("stone");
        return assetgen::encode3ds({mesh});
    }
    std::filesystem::path dir;
    std::string logPath;
};

} // namespace

TEST_F(Model3dsLoad, AQuotedNameLoadsTheFileAndKeepsItsDirectory)
{
    std::string file = writeModel("tri.3ds", triangle());
    Model_3DS model;
    std::string error;
    ASSERT_TRUE(model.tryLoad(("\"" + file + "\"").c_str(), error)) << error;
    EXPECT_EQ(model.filename, file);
    EXPECT_EQ(model.path, (dir / "models").string() + "/");
    EXPECT_EQ(model.numObjects, 1);
    EXPECT_EQ(logText(), "");
}

TEST_F(Model3dsLoad, AMissingOrTruncatedFileIsLoggedByNameWithTheReason)
{
    Model_3DS absent, cut;
    std::string error;
    std::string file = (dir / "models" / "absent.3ds").string();
    EXPECT_FALSE(absent.tryLoad(file.c_str(), error));
    std::string expected = " -> 3DS LOADER :: '" + file + "' cannot be loaded: the file cannot be opened. \n";

    std::vector<unsigned char> bytes = triangle();
    bytes.resize(bytes.size() - 3);
    std::string cutFile = writeModel("cut.3ds", bytes);
    EXPECT_FALSE(cut.tryLoad(cutFile.c_str(), error));
    EXPECT_EQ(cut.numObjects, 0);
    EXPECT_NE(error.find("runs past the end"), std::string::npos) << error;
    EXPECT_EQ(logText(), expected + model3ds::failureLogLine(cutFile, error));
}

TEST_F(Model3dsLoad, LoadEndsTheProgramWithExitCodeOneAndNamesTheFile)
{
    std::string file = (dir / "models" / "absent.3ds").string();
    EXPECT_EXIT(
        {
            Model_3DS model;
            model.Load(file.c_str());
        },
        ::testing::ExitedWithCode(1), "cannot load the model '.*absent.3ds': the file cannot be opened");
}
