// The datbuild program as the build runs it.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

int RunDatbuild(const std::string &args)
{
    int status = std::system((std::string(DATBUILD_EXE) + " " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Width and height from a PNG's header, or (0, 0) when it is not a PNG.
std::pair<int, int> PngSize(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24] = {};
    in.read((char *)h, sizeof h);
    if (!in || h[1] != 'P' || h[2] != 'N' || h[3] != 'G')
        return {0, 0};
    auto be = [&](int at) { return (h[at] << 24) | (h[at + 1] << 16) | (h[at + 2] << 8) | h[at + 3]; };
    return {be(16), be(20)};
}

TEST(Datbuild, WritesOnePictureForReview)
{
    const std::string out = "tool_test_bag.png";
    ASSERT_EQ(RunDatbuild("--picture 90 " + out), 0);
    EXPECT_EQ(PngSize(out), std::make_pair(32, 32));
    ASSERT_EQ(RunDatbuild("--picture 307 " + out), 0);
    EXPECT_EQ(PngSize(out), std::make_pair(800, 600));
    std::remove(out.c_str());
}

TEST(Datbuild, ReportsFailureInsteadOfWritingNothing)
{
    EXPECT_NE(RunDatbuild("--picture 76 x.png"), 0);  // a sound, not a picture
    EXPECT_FALSE(Exists("x.png"));
    EXPECT_NE(RunDatbuild("no/such/folder/Data.dat"), 0);
    EXPECT_FALSE(Exists("no/such/folder/Data.dat"));
    EXPECT_NE(RunDatbuild(""), 0);
}

TEST(Datbuild, BuildLeavesAContactSheetBesideTheGame)
{
    auto size = PngSize(DELVORN_BINARY_DIR "/contact_sheet.png");
    EXPECT_GT(size.first, 800);
    EXPECT_GT(size.second, 600);
}

}  // namespace
