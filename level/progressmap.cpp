// progressmap.cpp: the map of the twenty levels shown before each one, the
// current level's marker blinking, with the level number waving across
// the top until a key is pressed.
#include "level/progressmap.h"

#include <algorithm>
#include <cmath>

#include "base/frame.h"
#include "base/gameobject.h"
#include "base/keylatch.h"
#include "base/log.h"
#include "base/message.h"
#include "base/resources.h"
#include "base/screenfont.h"
#include "base/sound.h"
#include "gameplay/figures.h"
#include "map/mapcodes.h"
#include "platform/paths/paths.h"

const int progressMarkerX[20] = {196, 228, 260, 260, 260, 292, 324, 356, 356, 356,
                                 388, 420, 452, 484, 516, 516, 516, 516, 548, 580};
const int progressMarkerY[20] = {229, 229, 229, 261, 293, 293, 293, 293, 325, 357,
                                 357, 357, 357, 357, 357, 325, 293, 261, 261, 261};

SineScroller::SineScroller()
{
    colour = makecol(200, 200, 200);
    font = LoadGameFont(boldFontPath);
    SetFontSize(24);
}

SineScroller::~SineScroller()
{
    if (font)
        alfont_destroy_font(font);
}

void SineScroller::SetText(const char *newText)
{
    text = newText ? newText : "";
    MeasureCharWidth();
}

void SineScroller::SetFontSize(int size)
{
    fontSize = size;
    if (font)
        alfont_set_font_size(font, size);
    MeasureCharWidth();
}

// Each character keeps its own advance in the font, as in any line of text:
// the text spaces its letters out itself, and a grid as wide as the widest
// letter would turn every one of its spaces into a letter's width.
// charWidth is the mean advance, the distance the line scrolls per step of
// phase, so the text still takes 12.5 steps per character to pass.
void SineScroller::MeasureCharWidth()
{
    advances.assign(text.size(), 8);
    widestAdvance = 8;
    if (font)
        for (size_t i = 0; i < text.size(); i++) {
            const char letter[2] = {text[i], '\0'};
            advances[i] = std::max(1, alfont_text_length(font, letter));
            widestAdvance = std::max(widestAdvance, advances[i]);
        }
    lineWidth = 0;
    for (int advance : advances)
        lineWidth += advance;
    charWidth = text.empty() ? 8 : std::max(1, lineWidth / (int)text.size());
}

void SineScroller::Draw(BITMAP *target) const
{
    // A text swapped in without SetText has no advances measured.
    if (!target || text.empty() || lineWidth <= 0 || advances.size() != text.size())
        return;
    int length = (int)text.size();
    // Find the character at the band's left edge and how far it has slid
    // past it; the text repeats endlessly.
    int scrolled = (int)(charWidth * phase) % lineWidth;
    int first = 0;
    while (scrolled >= advances[first]) {
        scrolled -= advances[first];
        first = (first + 1) % length;
    }
    // The wave turns by `frequency` per quarter of the widest letter, so the
    // letters of LEVEL, each followed by three spaces, sit under a radian
    // apart on it and still read as one word.
    float waveFrequency = frequency * 4.0f / widestAdvance;
    int dx = -scrolled;
    for (int i = 0; i < visibleChars; i++) {
        int index = (first + i) % length;
        char letter[2] = {text[index], '\0'};
        int dy = (int)(std::sin(dx * waveFrequency - phase) * amplitude);
        if (font)
            alfont_textout(target, font, letter, x + dx, y + dy, colour);
        dx += advances[index];
    }
}

std::string ProgressScrollText(int level)
{
    return "L   E   V   E   L  .   " + std::to_string(level) + "   .               ";
}

static void DeleteMarkers(GameObject **markers)
{
    for (int i = 0; i < 20; i++)
        DeleteGameObject(markers[i]);
}

static bool CreateMarkers(GameObject **markers)
{
    static const int blink[2] = {0, 1};
    for (int i = 0; i < 20; i++) {
        markers[i] = new GameObject();
        if (!markers[i]->Init(progressMarkerX[i], progressMarkerY[i], 32, 32, 2, GO_SEQUENCE | GO_VISIBLE, 0,
                              16))
            return false;
        if (BITMAP *tunnel = DataBitmap(PIC_BLOCK + DUG_CODE))
            markers[i]->SetFrame(0, tunnel);
        if (BITMAP *lit = DataBitmap(PIC_BLOCK + SHIELD_CODE))
            markers[i]->SetFrame(1, lit);
        markers[i]->AddSequence(0, 2, blink);
        markers[i]->SetSequence(SEQ_ONLY);
        markers[i]->SetFrameDelay(8);
    }
    return true;
}

static void DrawProgressMap(GameObject **markers, const SineScroller &scroller)
{
    if (mainFont)
        alfont_set_font_size(mainFont, 36);
    if (BITMAP *picture = DataBitmap(PIC_PROGRESS_MAP))
        draw_sprite(backBuffer, picture, 100, 100);
    if (mainFont)
        alfont_textout_centre(backBuffer, mainFont, "DELVORN Progress MAP", GAME_W / 2, 532,
                              makecol(100, 128, 250));
    rect(backBuffer, 99, 99, 700, 507, makecol(255, 255, 255));
    // Levels past 20 (or before 1) have no marker of their own.
    int current = currentLevel - 1;
    for (int i = 0; i < current && i < 20; i++)
        markers[i]->Draw(backBuffer);
    if (current >= 0 && current < 20) {
        markers[current]->Animate();
        markers[current]->Draw(backBuffer);
    }
    // The letters wave in a band as wide as the map's frame and above it:
    // they slide in and out at its edges instead of being cut by the
    // screen's, and never run into the picture.
    set_clip_rect(backBuffer, 100, 0, 700, 96);
    scroller.Draw(backBuffer);
    set_clip_rect(backBuffer, 0, 0, backBuffer->w - 1, backBuffer->h - 1);
}

void ProcessMap()
{
    GameObject *markers[20] = {};
    SineScroller *scroller = nullptr;
    try {
        scroller = new SineScroller();
        scroller->SetText(ProgressScrollText(currentLevel).c_str());
        scroller->x = 100;
        scroller->y = 32;
        scroller->visibleChars = 60;
        scroller->colour = makecol(250, 250, 0);
        scroller->SetFontSize(36);
        scroller->SetAmplitude(24.0f);

        if (!CreateMarkers(markers)) {
            DeleteMarkers(markers);
            delete scroller;
            return;
        }
        clear_keybuf();
        PlayMusic(MUS_PROGRESS_MAP);  // plays on under "G E T    R E A D Y!"
        KeyLatch anyKey = KeyLatch::AnyKey();
        while (!anyKey.KeyWaiting() && !closeRequested) {
            if (backBuffer)
                DrawProgressMap(markers, *scroller);
            PresentFrame();
            scroller->Step();
            DropWaitedTicks();
        }
        DeleteMarkers(markers);
        delete scroller;
        scroller = nullptr;

        ClearScreen();
        ShowMessage("G E T    R E A D Y!", 1000, 32, makecol(192, 192, 192), screen);
    } catch (...) {
        DeleteMarkers(markers);
        delete scroller;
        LogExceptReport("ProcessMap");
    }
}
