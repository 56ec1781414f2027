// samples.cpp: every sound effect of the data file, synthesized.
// Each entry gets a recipe of its own; MakeSample returns an empty Sample for
// entries that are not sound effects.
#include "content/sound/synth.h"

namespace {

const int kRate = 22050;

// Bomb dropped: a soft thud with a tick of metal.
void BombDropped(SoundBuffer &b)
{
    AddTone(b, {WAVE_SINE, 0, 0.16, 190, 60, 0.9, 0.002, 4});
    Tone tick{WAVE_NOISE, 0, 0.03, 6000, 0, 0.35, 0.001, 6};
    AddTone(b, tick);
    AddTone(b, {WAVE_SQUARE, 0.01, 0.05, 1400, 1200, 0.12, 0.001, 5, 0.25});
}

// Game launch: a quick climbing arpeggio over a rising sweep.
void GameLaunch(SoundBuffer &b)
{
    static const int up[] = {0, 4, 7, 12, 16, 19, 24};
    AddArpeggio(b, {WAVE_SQUARE, 0, 0.12, KeyHz(60), 0, 0.35, 0.002, 2, 0.25}, up, 7, 0.07);
    AddTone(b, {WAVE_SAW, 0, 0.55, 110, 440, 0.2, 0.05, 1.5});
    AddTone(b, {WAVE_TRIANGLE, 0.49, 0.4, KeyHz(84), 0, 0.4, 0.005, 3, 0.5, 6, 0.01});
    AddEcho(b, 0.09, 0.3);
}

// Exit reached: a short fanfare ending on a held, shimmering chord.
void ExitReached(SoundBuffer &b)
{
    static const int lead[] = {0, 4, 7};
    AddArpeggio(b, {WAVE_SQUARE, 0, 0.1, KeyHz(72), 0, 0.35, 0.002, 1.5, 0.5}, lead, 3, 0.09);
    double t = 0.27;
    for (int k : {72, 76, 79, 84})
        AddTone(b, {WAVE_SQUARE, t, 0.6, KeyHz(k), 0, 0.18, 0.005, 2.5, 0.25, 5.5, 0.012});
    AddTone(b, {WAVE_TRIANGLE, t, 0.6, KeyHz(48), 0, 0.4, 0.005, 2});
}

// Shields removed: a bright sparkle that falls and rises like a curtain.
void ShieldsRemoved(SoundBuffer &b)
{
    static const int sparkle[] = {24, 19, 16, 12, 7, 12, 16, 19, 24, 28};
    AddArpeggio(b, {WAVE_TRIANGLE, 0, 0.1, KeyHz(67), 0, 0.4, 0.002, 3}, sparkle, 10, 0.05);
    AddTone(b, {WAVE_NOISE, 0, 0.6, 9000, 3000, 0.12, 0.2, 2, 0.5, 0, 0, 0.6});
    AddTone(b, {WAVE_SINE, 0.1, 0.5, 300, 900, 0.25, 0.1, 2});
}

// Bomb explodes: a roaring noise burst over a deep falling boom.
void BombExplodes(SoundBuffer &b)
{
    AddTone(b, {WAVE_NOISE, 0, 0.9, 4000, 300, 0.8, 0.003, 4, 0.5, 0, 0, 0.3});
    AddTone(b, {WAVE_SINE, 0, 0.7, 90, 28, 0.9, 0.003, 3.5});
    AddTone(b, {WAVE_NOISE, 0.04, 0.5, 900, 150, 0.4, 0.01, 3, 0.5, 0, 0, 0.85});
}

// Initials entry: a crisp click with a short ring, long enough to be heard.
void InitialsClick(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.045, 1500, 1700, 0.4, 0.001, 5, 0.3});
    AddTone(b, {WAVE_NOISE, 0, 0.01, 8000, 0, 0.2, 0.0005, 6});
    AddTone(b, {WAVE_TRIANGLE, 0.01, 0.12, 1700, 0, 0.3, 0.002, 3});
}

// Bomb pickup: two metallic notes going up.
void BombPickup(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.1, KeyHz(69), 0, 0.35, 0.002, 2, 0.125});
    AddTone(b, {WAVE_SQUARE, 0.09, 0.2, KeyHz(76), 0, 0.35, 0.002, 3, 0.125});
    AddTone(b, {WAVE_SINE, 0.09, 0.2, KeyHz(76) * 2.76, 0, 0.12, 0.002, 5});
}

// Heart: a warm rising major seventh arpeggio.
void HeartPickup(SoundBuffer &b)
{
    static const int warm[] = {0, 4, 7, 11, 12};
    AddArpeggio(b, {WAVE_TRIANGLE, 0, 0.3, KeyHz(65), 0, 0.45, 0.01, 2.5}, warm, 5, 0.07);
    AddTone(b, {WAVE_SINE, 0.28, 0.35, KeyHz(77), 0, 0.3, 0.02, 3, 0.5, 7, 0.015});
}

// Potion: a bubbling glide upward.
void PotionPickup(SoundBuffer &b)
{
    AddTone(b, {WAVE_SINE, 0, 0.6, 220, 880, 0.55, 0.01, 1.5, 0.5, 14, 0.08});
    for (int i = 0; i < 7; i++)
        AddTone(b, {WAVE_SINE, 0.05 + i * 0.075, 0.05, 500.0 + 140 * i, 900.0 + 180 * i, 0.25, 0.002, 4});
}

// Gold taken: the classic two-note coin.
void GoldTaken(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.07, KeyHz(83), 0, 0.35, 0.001, 0.5, 0.5});
    AddTone(b, {WAVE_SQUARE, 0.07, 0.3, KeyHz(88), 0, 0.35, 0.001, 3.5, 0.5});
}

// Collectible: a tiny bright chirp; it plays often, so it stays short.
void ItemPickup(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.09, 880, 1760, 0.35, 0.001, 2.5, 0.25});
    AddTone(b, {WAVE_TRIANGLE, 0.03, 0.07, 1760, 2200, 0.25, 0.001, 3});
}

// Title jingle: a little tune with a bass and some room.
void TitleJingle(SoundBuffer &b)
{
    struct Note {
        double at, len;
        int key;
    };
    static const Note melody[] = {
        {0.0, 0.18, 67}, {0.2, 0.18, 72}, {0.4, 0.18, 76}, {0.6, 0.35, 79},
        {1.0, 0.18, 77}, {1.2, 0.18, 76}, {1.4, 0.18, 74}, {1.6, 0.7, 72},
    };
    for (const Note &n : melody)
        AddTone(b, {WAVE_SQUARE, n.at, n.len, KeyHz(n.key), 0, 0.3, 0.004, 1.2, 0.25, 6, 0.006});
    static const Note bass[] = {{0.0, 0.38, 48}, {0.4, 0.55, 52}, {1.0, 0.55, 53}, {1.6, 0.7, 48}};
    for (const Note &n : bass)
        AddTone(b, {WAVE_TRIANGLE, n.at, n.len, KeyHz(n.key), 0, 0.45, 0.005, 1.5});
    AddTone(b, {WAVE_NOISE, 1.6, 0.3, 7000, 0, 0.12, 0.001, 6});
    AddEcho(b, 0.15, 0.25);
}

// Menu clicks: a falling tick for down, a rising tick for up.
void ClickDown(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.055, 750, 480, 0.4, 0.001, 4, 0.5});
    AddTone(b, {WAVE_TRIANGLE, 0.02, 0.1, 480, 0, 0.3, 0.002, 3});
}

void ClickUp(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.04, 950, 1400, 0.4, 0.001, 4, 0.25});
    AddTone(b, {WAVE_TRIANGLE, 0.015, 0.1, 1400, 0, 0.5, 0.002, 2});
}

// Bag starts falling: a descending whistle.
void BagFalls(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.45, 1200, 180, 0.35, 0.005, 1.2, 0.5});
    AddTone(b, {WAVE_SINE, 0, 0.45, 1210, 182, 0.25, 0.005, 1.2});
}

// Bag bursts: a crunchy burst with a spill of coins.
void BagBursts(SoundBuffer &b)
{
    AddTone(b, {WAVE_NOISE, 0, 0.25, 2500, 400, 0.7, 0.002, 5, 0.5, 0, 0, 0.4});
    AddTone(b, {WAVE_SINE, 0, 0.15, 150, 60, 0.6, 0.002, 4});
    static const int coins[] = {31, 36, 33, 38, 35};
    AddArpeggio(b, {WAVE_SQUARE, 0.08, 0.08, KeyHz(60), 0, 0.18, 0.001, 4, 0.3}, coins, 5, 0.05);
}

// Bag wobble: a rocking low warble.
void BagWobble(SoundBuffer &b)
{
    AddTone(b, {WAVE_TRIANGLE, 0, 0.4, 160, 150, 0.7, 0.01, 1, 0.5, 12, 0.18});
    AddTone(b, {WAVE_NOISE, 0, 0.4, 800, 0, 0.1, 0.01, 1, 0.5, 0, 0, 0.9});
}

// Enemy killed: a falling zap.
void EnemyKilled(SoundBuffer &b)
{
    AddTone(b, {WAVE_SAW, 0, 0.3, 1400, 90, 0.5, 0.001, 2});
    AddTone(b, {WAVE_SQUARE, 0, 0.3, 700, 45, 0.3, 0.001, 2, 0.3});
    AddTone(b, {WAVE_NOISE, 0, 0.12, 5000, 0, 0.25, 0.001, 5});
}

// Hero caught by a bag: an "uh-oh" of two falling notes.
void HeroCaught(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.15, KeyHz(67), KeyHz(66), 0.35, 0.005, 1, 0.4});
    AddTone(b, {WAVE_SQUARE, 0.17, 0.25, KeyHz(62), KeyHz(60), 0.35, 0.005, 2, 0.4});
}

// Hero killed: a long sad wail falling away.
void HeroKilled(SoundBuffer &b)
{
    AddTone(b, {WAVE_SQUARE, 0, 0.9, 700, 110, 0.35, 0.005, 1.5, 0.5, 9, 0.04});
    AddTone(b, {WAVE_TRIANGLE, 0, 0.9, 350, 55, 0.45, 0.005, 1.5});
}

// Game over: a slow minor phrase that sinks.
void GameOver(SoundBuffer &b)
{
    struct Note {
        double at, len;
        int key;
    };
    static const Note melody[] = {
        {0.0, 0.35, 67},
        {0.4, 0.35, 63},
        {0.8, 0.35, 60},
        {1.2, 0.9, 55},
    };
    for (const Note &n : melody)
        AddTone(b, {WAVE_SQUARE, n.at, n.len, KeyHz(n.key), 0, 0.3, 0.01, 1, 0.5, 5, 0.008});
    AddTone(b, {WAVE_TRIANGLE, 0, 2.1, KeyHz(36), KeyHz(35), 0.45, 0.02, 1});
    AddEcho(b, 0.2, 0.3);
}

}  // namespace

Sample MakeSample(int entry)
{
    SoundBuffer b;
    b.rate = kRate;
    switch (entry) {
    case SFX_BOMB_DROPPED: BombDropped(b); break;
    case SFX_LAUNCH: GameLaunch(b); break;
    case SFX_EXIT: ExitReached(b); break;
    case SFX_SHIELDS_OPEN: ShieldsRemoved(b); break;
    case SFX_BOMB_BLAST: BombExplodes(b); break;
    case SFX_INITIALS: InitialsClick(b); break;
    case SFX_BOMB_PICKUP: BombPickup(b); break;
    case SFX_HEART: HeartPickup(b); break;
    case SFX_POTION: PotionPickup(b); break;
    case SFX_GOLD: GoldTaken(b); break;
    case SFX_ITEM: ItemPickup(b); break;
    case SFX_TITLE: TitleJingle(b); break;
    case SFX_CLICK_DOWN: ClickDown(b); break;
    case SFX_CLICK_UP: ClickUp(b); break;
    case SFX_BAG_FALLS: BagFalls(b); break;
    case SFX_BAG_BURSTS: BagBursts(b); break;
    case SFX_BAG_WOBBLES: BagWobble(b); break;
    case SFX_ENEMY_KILLED: EnemyKilled(b); break;
    case SFX_HERO_CAUGHT: HeroCaught(b); break;
    case SFX_HERO_KILLED: HeroKilled(b); break;
    case SFX_GAME_OVER: GameOver(b); break;
    default: return Sample{};
    }
    return FinishSample(b, entry == SFX_BOMB_BLAST ? kBlastLoudness : kEffectLoudness);
}
