// The object encoder, checked by reading its output back with Allegro.
#include <allegro.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <string>

#include "tools/datbuild/datwriter.h"

namespace {

class Encoding : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(16);
        set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
    }
    // ctest runs the cases side by side in one folder: one file each.
    std::string path = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".dat";
    void TearDown() override { std::remove(path.c_str()); }

    DATAFILE *WriteAndLoad(const std::vector<DatObject> &objects, const char *password)
    {
        std::string error;
        EXPECT_TRUE(WriteDataFile(path, password, objects, &error)) << error;
        packfile_password(password);
        DATAFILE *d = load_datafile(path.c_str());
        packfile_password(nullptr);
        return d;
    }
};

TEST_F(Encoding, OnlyExactMagentaBecomesTheMaskColour)
{
    EXPECT_EQ(PackRgb565(0xFF00FF), 0xF81F);
    EXPECT_NE(PackRgb565(0xFC02FC), 0xF81F);  // would round onto the mask
    EXPECT_NE(PackRgb565(0xF800F8), 0xF81F);
    EXPECT_EQ(PackRgb565(0x000000), 0x0000);
    EXPECT_EQ(PackRgb565(0xFFFFFF), 0xFFFF);
    EXPECT_EQ(PackRgb565(0xFF0000), 0xF800);
    EXPECT_EQ(PackRgb565(0x00FF00), 0x07E0);
}

TEST_F(Encoding, MalformedContentIsRefused)
{
    DatObject o;
    std::string error;
    Picture p;
    p.width = 4, p.height = 4;
    p.pixels.assign(15, 0);
    EXPECT_FALSE(EncodeBitmap(p, &o, &error));
    EXPECT_FALSE(error.empty());
    p.width = 0, p.pixels.clear();
    EXPECT_FALSE(EncodeBitmap(p, &o, &error));

    Sample s;
    EXPECT_FALSE(EncodeSample(s, &o, &error));  // no data
    s.frames = {1, 2, 3};
    s.stereo = true;
    EXPECT_FALSE(EncodeSample(s, &o, &error));  // odd count for two channels
    s.stereo = false, s.bits = 12;
    EXPECT_FALSE(EncodeSample(s, &o, &error));

    MidiTune t;
    t.tracks.resize(33);
    EXPECT_FALSE(EncodeMidi(t, &o, &error));
}

TEST_F(Encoding, ObjectsComeBackAsWritten)
{
    Picture p;
    p.width = 3, p.height = 2;
    p.pixels = {0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x102030};
    Sample s;
    s.frequency = 11025;
    s.frames = {0, 32767, -32768, -1};
    MidiTune t;
    t.divisions = 120;
    t.tracks = {{0x00, 0xFF, 0x2F, 0x00}, {0x00, 0x90, 0x40, 0x40}};
    std::vector<DatObject> objects(4);
    std::string error;
    ASSERT_TRUE(EncodeBitmap(p, &objects[0], &error));
    ASSERT_TRUE(EncodeSample(s, &objects[1], &error));
    ASSERT_TRUE(EncodeMidi(t, &objects[2], &error));
    objects[3] = EncodePlaceholder();

    DATAFILE *d = WriteAndLoad(objects, "secret");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d[0].type, DAT_BITMAP);
    BITMAP *b = (BITMAP *)d[0].dat;
    ASSERT_EQ(bitmap_color_depth(b), 16);
    EXPECT_EQ(b->w, 3);
    EXPECT_EQ(b->h, 2);
    EXPECT_EQ(getpixel(b, 0, 0), bitmap_mask_color(b));
    EXPECT_EQ(getpixel(b, 1, 0), makecol16(255, 0, 0));
    EXPECT_EQ(getpixel(b, 2, 0), makecol16(0, 255, 0));
    EXPECT_EQ(getpixel(b, 0, 1), makecol16(0, 0, 255));
    EXPECT_EQ(getpixel(b, 1, 1), makecol16(255, 255, 255));

    ASSERT_EQ(d[1].type, DAT_SAMPLE);
    SAMPLE *spl = (SAMPLE *)d[1].dat;
    EXPECT_EQ(spl->bits, 16);
    EXPECT_EQ(spl->stereo, 0);
    EXPECT_EQ(spl->freq, 11025);
    ASSERT_EQ(spl->len, 4u);
    const unsigned short *data = (const unsigned short *)spl->data;
    EXPECT_EQ(data[0], 0x8000);  // silence sits in the middle of Allegro's unsigned range
    EXPECT_EQ(data[1], 0xFFFF);
    EXPECT_EQ(data[2], 0x0000);
    EXPECT_EQ(data[3], 0x7FFF);

    ASSERT_EQ(d[2].type, DAT_MIDI);
    MIDI *m = (MIDI *)d[2].dat;
    EXPECT_EQ(m->divisions, 120);
    ASSERT_EQ(m->track[1].len, 4);
    EXPECT_EQ(m->track[1].data[1], 0x90);
    EXPECT_EQ(m->track[2].len, 0);

    EXPECT_EQ(d[3].type, DAT_DATA);
    EXPECT_EQ(d[4].type, DAT_END);
    unload_datafile(d);
}

TEST_F(Encoding, EightBitStereoSamplesKeepTheirFrames)
{
    Sample s;
    s.bits = 8;
    s.stereo = true;
    s.frames = {-32768, 32767, 0, 256};  // two frames of left and right
    std::vector<DatObject> objects(1);
    std::string error;
    ASSERT_TRUE(EncodeSample(s, &objects[0], &error)) << error;
    DATAFILE *d = WriteAndLoad(objects, nullptr);
    ASSERT_NE(d, nullptr);
    SAMPLE *spl = (SAMPLE *)d[0].dat;
    EXPECT_EQ(spl->bits, 8);
    EXPECT_NE(spl->stereo, 0);
    ASSERT_EQ(spl->len, 2u);
    const unsigned char *data = (const unsigned char *)spl->data;
    EXPECT_EQ(data[0], 0x00);
    EXPECT_EQ(data[1], 0xFF);
    EXPECT_EQ(data[2], 0x80);
    EXPECT_EQ(data[3], 0x81);
    unload_datafile(d);
}

TEST_F(Encoding, PasswordGuardsTheFile)
{
    std::vector<DatObject> objects = {EncodePlaceholder()};
    std::string error;
    ASSERT_TRUE(WriteDataFile(path, "right", objects, &error));
    packfile_password("wrong");
    EXPECT_EQ(load_datafile(path.c_str()), nullptr);
    packfile_password(nullptr);
    EXPECT_EQ(load_datafile(path.c_str()), nullptr);
}

TEST_F(Encoding, FailedWriteLeavesNoFileAndSaysSo)
{
    std::string error;
    EXPECT_FALSE(WriteDataFile("no/such/folder/x.dat", nullptr, {EncodePlaceholder()}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(exists("no/such/folder/x.dat.tmp"));
}

}  // namespace
