#include "tools/replay/AssetFolder.hpp"

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
    EXPECT_FALSE(G::assetFolder::beside(program)) << "no assets at all";

    std::ofstream(data / "assets" / "textures" / "objects.png") << "png";
    EXPECT_FALSE(G::assetFolder::beside(program)) << "the font is missing";
    std::ofstream(data / "assets" / "fonts" / "pixelated.ttf") << "ttf";
    EXPECT_EQ(G::assetFolder::beside(program), data.string());
    EXPECT_FALSE(G::assetFolder::beside((data / "quorvel-tournament").string())) << "not beside this folder";
    std::filesystem::remove_all(prefix);
}

TEST(AssetFolder, TheStartNameIsFoundAsAShellFindsIt) {
    const std::filesystem::path prefix = test::tempPath("started");
    const std::filesystem::path bin = prefix / "bin";
    std::filesystem::create_directories(bin);
    std::ofstream(bin / "quorvel-tournament") << "#!/bin/sh\n";
    const std::string program = std::filesystem::canonical(bin / "quorvel-tournament").string();
    const std::string path = "/no/such/folder:" + bin.string();
    EXPECT_EQ(G::assetFolder::fromStartName("quorvel-tournament", path), "") << "not executable";

    std::filesystem::permissions(bin / "quorvel-tournament", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(G::assetFolder::fromStartName("quorvel-tournament", path), program) << "found through PATH";
    EXPECT_EQ(G::assetFolder::fromStartName((bin / ".." / "bin" / "quorvel-tournament").string(), ""), program)
        << "a path, resolved";
    EXPECT_EQ(G::assetFolder::fromStartName("quorvel-tournament", "/no/such/folder"), "");
    std::filesystem::remove_all(prefix);
}

} // namespace
