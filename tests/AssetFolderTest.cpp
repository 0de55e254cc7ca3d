#include "tools/tournament/AssetFolder.hpp"

#include "tests/TempPath.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(AssetFolder, IsShareQuorvelBesideTheProgramsFolderWhenItHoldsBothAssets) {
    const std::filesystem::path prefix = test::tempPath("prefix");
    const std::filesystem::path data = prefix / "share" / "quorvel";
    const std::string program = (prefix / "bin" / "quorvel-tournament").string();
    std::filesystem::create_directories(data / "assets" / "textures");
    std::filesystem::create_directories(data / "assets" / "fonts");
    std::filesystem::create_directories(prefix / "bin");
    EXPECT_FALSE(G::AssetFolder::beside(program)) << "no assets at all";

    std::ofstream(data / "assets" / "textures" / "objects.png") << "png";
    EXPECT_FALSE(G::AssetFolder::beside(program)) << "the font is missing";
    std::ofstream(data / "assets" / "fonts" / "pixelated.ttf") << "ttf";
    EXPECT_EQ(G::AssetFolder::beside(program), data.string());
    EXPECT_FALSE(G::AssetFolder::beside((data / "quorvel-tournament").string())) << "not beside this folder";
    std::filesystem::remove_all(prefix);
}

} // namespace
