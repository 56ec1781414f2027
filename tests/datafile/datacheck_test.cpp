// The structure check that stands before Allegro's data file loader: the
// built Data.dat and a file of every kind the game holds pass it; each
// damage that would send the loader (or the tune player) past its data is
// refused, also when the damaged file carries a fresh seal.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/datacheck.h"
#include "base/datapass.h"
#include "base/datasum.h"
#include "base/resources.h"
#include "tools/datbuild/datwriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

void SetBE32(Bytes &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(v >> (24 - 8 * i));
}

// One picture, one sample, one tune and a placeholder, as the builder
// encodes them; where each object's contents begin in the stream.
Bytes SampleStream(std::vector<size_t> *starts)
{
    std::vector<DatObject> objects(4);
    std::string error;
    Picture p;
    p.width = 3, p.height = 2;
    p.pixels.assign(6, 0x123456);
    EXPECT_TRUE(EncodeBitmap(p, &objects[0], &error)) << error;
    Sample s;
    s.frames = {100, -100, 200, -200};
    EXPECT_TRUE(EncodeSample(s, &objects[1], &error)) << error;
    MidiTune t;
    t.tracks = {{0x00, 0x90, 60, 100, 0x10, 60, 0, 0x00, 0xFF, 0x2F, 0x00}};  // running status inside
    EXPECT_TRUE(EncodeMidi(t, &objects[2], &error)) << error;
    objects[3] = EncodePlaceholder();
    size_t at = 8;
    for (const DatObject &o : objects) {
        starts->push_back(at + 12);
        at += 12 + o.data.size();
    }
    return DataFileStream(objects);
}

class DataCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(16);
        set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
    }
};

TEST_F(DataCheck, DamageThatWouldMisleadTheLoaderIsRefused)
{
    std::vector<size_t> at;
    const Bytes good = SampleStream(&at);
    ASSERT_EQ(DataStreamProblem(good.data(), good.size()), "");
    const size_t picture = at[0], sample = at[1], tune = at[2];
    const struct {
        const char *what;
        size_t offset;
        uint32_t value;  // written big-endian over four bytes
    } cases[] = {
        {"not a data file", 0, 0x12345678},
        {"object count far past the end", 4, 0x7FFFFFFF},
        {"negative object count", 4, 0xFFFFFFFF},
        {"object size past the end", picture - 8, 0x00100000},
        {"packed object", picture - 4, 0xFFFFFF00},
        {"picture depth Allegro has not", picture, 0x00070003},
        {"8-bit picture, which the game's reader refuses", picture, 0x00080003},
        {"picture wider than its data", picture, 0x00107FFF},
        {"picture of no rows", picture + 2, 0x00030000},
        {"sample longer than its data", sample + 4, 0x01000000},
        {"sample of 12 bits", sample, 0x000C1F40},
        {"tune without a time division", tune, 0x00000000},
        {"tune track past its object", tune + 2, 0x7FFFFFFF},
        {"tune track without its end", tune + 2 + 4 + 7, 0x00FF0100},
        {"a font, which the game has none of", picture - 12, DAT_FONT},
        {"a data file nested with a huge count", picture - 12, DAT_FILE},
    };
    for (const auto &c : cases) {
        Bytes bad = good;
        SetBE32(bad, c.offset, c.value);
        EXPECT_NE(DataStreamProblem(bad.data(), bad.size()), "") << c.what;
    }
    // Cut anywhere inside, the stream is refused.
    for (size_t cut = 0; cut < good.size(); cut += 7)
        EXPECT_NE(DataStreamProblem(good.data(), cut), "") << "cut at " << cut;
}

// The built file passes; sealed again after damage, it no longer loads.
TEST_F(DataCheck, ResealedDamageIsRefusedBeforeAllegroReadsIt)
{
    char password[18];
    UnscrambleDataPassword(password);
    const std::string built = DELVORN_GAME_DIR "/Data.dat";
    EXPECT_EQ(DataFileProblem(built, password), "");

    std::ifstream in(built, std::ios::binary);
    const Bytes whole((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(whole.size(), 100000u);
    const Bytes body(whole.begin(), whole.end() - DATA_SUM_SIZE);
    const std::string path = "resealed.dat";
    for (const char *damage : {"flipped", "halved"}) {
        Bytes bad = body;
        if (std::string(damage) == "flipped")
            for (size_t i = bad.size() / 2; i < bad.size() / 2 + 16; i++)
                bad[i] ^= 0xA5;
        else
            bad.resize(bad.size() / 2);
        const Bytes seal = DataSumTrailer(bad.data(), bad.size());
        bad.insert(bad.end(), seal.begin(), seal.end());
        std::ofstream(path, std::ios::binary).write((const char *)bad.data(), (std::streamsize)bad.size());
        ASSERT_TRUE(DataFileReadsWhole(path)) << damage;
        EXPECT_NE(DataFileProblem(path, password), "") << damage;
        EXPECT_EQ(LoadGameData(path.c_str()), nullptr) << damage;
    }
    std::remove(path.c_str());
    WipeDataPassword(password);
}

}  // namespace
