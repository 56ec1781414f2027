// Every sound effect entry holds a short, clean, audible sample of its own,
// and the sound set-up of the game starts with or without a sound card.
#include <gtest/gtest.h>

#include <allegro.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tests/content_audio/content_support.h"
#include "tools/datbuild/assets.h"

namespace {

// A coarse picture of a sound: loudness and brightness over eight slices.
std::vector<double> Fingerprint(const Sample &s)
{
    std::vector<double> f;
    size_t n = s.frames.size(), slice = n / 8;
    for (int i = 0; i < 8; i++) {
        double energy = 0, crossings = 0;
        for (size_t k = i * slice; k < (i + 1) * slice; k++) {
            energy += double(s.frames[k]) * s.frames[k];
            if (k > 0 && (s.frames[k] < 0) != (s.frames[k - 1] < 0))
                crossings++;
        }
        f.push_back(std::sqrt(energy / slice) / 32768.0);
        f.push_back(crossings / slice);
    }
    f.push_back(double(n) / s.frequency);
    return f;
}

}  // namespace

TEST(SoundEffects, EveryEffectEntryHoldsAShortCleanAudibleSample)
{
    std::vector<int> effects = EntriesOf(ENTRY_SAMPLE);
    EXPECT_EQ(effects.size(), 21u);
    for (int e : effects) {
        Sample s = MakeSample(e);
        ASSERT_FALSE(s.frames.empty()) << "entry " << e;
        EXPECT_EQ(s.bits, 16) << e;
        EXPECT_FALSE(s.stereo) << e;
        EXPECT_TRUE(s.frequency == 22050 || s.frequency == 44100) << e;
        double seconds = double(s.frames.size()) / s.frequency;
        EXPECT_GT(seconds, 0.03) << e;
        EXPECT_LT(seconds, 3.0) << e;

        int peak = 0;
        double energy = 0;
        for (int16_t v : s.frames) {
            peak = std::max(peak, std::abs(int(v)));
            energy += double(v) * v;
        }
        EXPECT_LT(peak, 32000) << "entry " << e << " clips";
        EXPECT_GT(peak, 16000) << "entry " << e << " is too quiet";
        EXPECT_GT(std::sqrt(energy / s.frames.size()), 1500) << "entry " << e << " is nearly silent";
        // Starting and stopping near zero keeps every play free of clicks.
        EXPECT_LT(std::abs(int(s.frames.front())), 2000) << e;
        EXPECT_LT(std::abs(int(s.frames.back())), 300) << e;
    }
    // Anything else is not a sound effect.
    for (int e : {0, 77, 201, 214, 303})
        EXPECT_TRUE(MakeSample(e).frames.empty()) << e;
}

TEST(SoundEffects, NoTwoEffectsSoundAlike)
{
    std::vector<int> effects = EntriesOf(ENTRY_SAMPLE);
    std::vector<std::vector<double>> prints;
    for (int e : effects)
        prints.push_back(Fingerprint(MakeSample(e)));
    for (size_t a = 0; a < prints.size(); a++) {
        for (size_t b = a + 1; b < prints.size(); b++) {
            double distance = 0;
            for (size_t k = 0; k < prints[a].size(); k++)
                distance += std::fabs(prints[a][k] - prints[b][k]);
            EXPECT_GT(distance, 0.15) << "entries " << effects[a] << " and " << effects[b];
        }
    }
}

TEST(SoundSetup, InstrumentListPointsAtInstalledPatches)
{
    std::ifstream cfg(std::string(DELVORN_SOURCE_DIR) + "/content/sound/Patches.cfg");
    ASSERT_TRUE(cfg.good());
    if (access("/usr/share/midi/freepats", R_OK) != 0)
        GTEST_SKIP() << "the freepats instrument set is not installed";
    std::string line;
    int patches = 0;
    while (std::getline(cfg, line)) {
        std::istringstream words(line);
        std::string number, path;
        if (!(words >> number >> path) || number[0] == '#' || path[0] != '/')
            continue;
        patches++;
        EXPECT_EQ(access(path.c_str(), R_OK), 0) << path;
    }
    EXPECT_GT(patches, 100);
}

TEST(SoundSetup, StartsWithTheGameConfigWithOrWithoutASoundCard)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs DISPLAY for the library's system driver";
    ASSERT_EQ(chdir(DELVORN_GAME_DIR), 0);
    ASSERT_EQ(allegro_init(), 0);
    set_config_file("Config/Delvorn.ini");
    install_timer();
    // Without a card the synthesizer has no voices to play on; the game then
    // goes on without music, so that step at least must succeed.
    bool started = install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) == 0 ||
                   install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0;
    EXPECT_TRUE(started) << allegro_error;
    remove_sound();

    // ALSA's null device stands in for a card (an override, so the game's
    // configuration file is never rewritten): the synthesizer must then find
    // the instruments the configuration names.
    static const char nullDevice[] = "[Sound]\nalsa_device = null\n";
    override_config_data(nullDevice, sizeof nullDevice - 1);
    bool haveDevice = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0 && digi_driver &&
                      digi_driver->id != DIGI_NONE;
    remove_sound();
    if (!haveDevice || access("/usr/share/midi/freepats", R_OK) != 0)
        GTEST_SKIP() << "no ALSA null device or no freepats here";
    ASSERT_EQ(install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr), 0) << allegro_error;
    ASSERT_NE(midi_driver, nullptr);
    EXPECT_EQ(midi_driver->id, MIDI_DIGMID) << allegro_error;
    EXPECT_EQ(load_midi_patches(), 0);
    remove_sound();
}
