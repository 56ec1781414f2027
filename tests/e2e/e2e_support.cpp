// e2e_support.cpp: screen probes and test files for the whole-game tests.
#include "tests/e2e/e2e_support.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

const char *ShownName(Shown shown)
{
    switch (shown) {
    case Shown::Menu: return "menu";
    case Shown::Options: return "options";
    case Shown::HighScores: return "high scores";
    case Shown::ProgressMap: return "progress map";
    case Shown::Play: return "play";
    case Shown::Pause: return "pause page";
    case Shown::Help: return "help page";
    case Shown::Question: return "question page";
    case Shown::GameOver: return "game over";
    case Shown::Initials: return "initials entry";
    case Shown::Editor: return "editor";
    default: return "something else";
    }
}

// Each screen is told by a few marks of its own that nothing else draws in
// the same place: panel outlines, title colours, the status bar.
Shown Classify(const GameProcess &game)
{
    const unsigned white = 0xffffff;
    auto isWhite = [&](int x, int y) { return game.CountNear(white, x, y, x, y, 8) == 1; };
    if (game.CountNear(0xdecead, 60, 578, 60, 578) && game.CountNear(0xceba94, 790, 590, 790, 590))
        return Shown::Play;
    // The pause and help pages stand in white frames on the darkened game.
    if (isWhite(99, 300) && isWhite(701, 300)) {
        if (isWhite(110, 132) && isWhite(690, 132) && isWhite(110, 451) && isWhite(690, 451))
            return Shown::Pause;
        if (isWhite(110, 92) && isWhite(690, 92) && isWhite(110, 501) && isWhite(690, 501))
            return Shown::Help;
    }
    // The questions (the editor, leaving) stand in blue frames.
    auto isBlue = [&](int x, int y) { return game.CountNear(0x3288fe, x, y, x, y, 8) == 1; };
    if (isBlue(99, 300) && isBlue(701, 300) && isBlue(400, 231) && isBlue(400, 351))
        return Shown::Question;
    if (isWhite(119, 300) && isWhite(681, 300)) {
        if (game.CountNear(0xe72727, 140, 170, 660, 460) > 300)
            return Shown::Menu;
        if (game.CountNear(0xceca63, 250, 30, 550, 110) > 300)
            return Shown::Options;
        if (game.CountNear(0xcecace, 180, 30, 620, 110) > 300)
            return Shown::HighScores;
    }
    if (isWhite(199, 300) && isWhite(601, 300)) {
        if (game.CountNear(0xc00000, 240, 262, 640, 332) > 30)
            return Shown::Initials;
        if (game.CountNear(white, 210, 262, 590, 340, 20) > 50)
            return Shown::GameOver;
    }
    if (game.CountNear(0x6381ff, 180, 515, 620, 599) > 300)
        return Shown::ProgressMap;
    // The editor writes its two status lines at the top left.
    if (game.CountNear(0x001cff, 0, 24, 300, 40) > 100)  // pixel value 255 at 16 bits
        return Shown::Editor;
    return Shown::Other;
}

bool WaitForShown(GameProcess &game, Shown wanted, int seconds, const std::string &name)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (!game.Running())
            return false;
        if (game.Screenshot(name) > 0 && Classify(game) == wanted)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}

bool PressUntilShown(GameProcess &game, const std::string &keyName, Shown wanted, int seconds,
                     const std::string &name)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end && game.Running()) {
        game.Press(keyName);
        if (game.Screenshot(name) > 0 && Classify(game) == wanted)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return false;
}

int MenuChoiceShown(const GameProcess &game)
{
    // The chosen item is written in red, the others in grey.
    static const int itemY[5] = {179, 234, 297, 350, 406};
    int chosen = -1, most = 1000;
    for (int i = 0; i < 5; i++) {
        int red = game.CountNear(0xe72727, 140, itemY[i], 660, itemY[i] + 40);
        if (red > most) {
            most = red;
            chosen = i;
        }
    }
    return chosen;
}

std::vector<unsigned> PixelsOf(const GameProcess &game, int x1, int y1, int x2, int y2)
{
    std::vector<unsigned> pixels;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            pixels.push_back(game.PixelAt(x, y));
    return pixels;
}

bool HoldUntil(GameProcess &game, const std::string &keyName, const std::function<bool()> &acted, int seconds,
               const std::string &name)
{
    using Clock = std::chrono::steady_clock;
    auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
        game.Hold(keyName);
        auto letGo = std::min(end, Clock::now() + std::chrono::seconds(4));
        while (Clock::now() < letGo) {
            if (!game.Running()) {
                game.Release(keyName);
                return acted();
            }
            if (game.Screenshot(name) > 0 && acted()) {
                game.Release(keyName);
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        game.Release(keyName);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return false;
}

bool HoldUntilShown(GameProcess &game, const std::string &keyName, Shown wanted, int seconds,
                    const std::string &name)
{
    return HoldUntil(
        game, keyName, [&]() { return Classify(game) == wanted; }, seconds, name);
}

bool StartNewGame(GameProcess &game, const std::string &mapShot, const std::string &playShot)
{
    // Between the menu and the map the level loads: the key is let go as
    // soon as the menu has gone, so that it is not pressed again on the map.
    if (!HoldUntil(
            game, "Return", [&]() { return Classify(game) != Shown::Menu; }, 30, mapShot))
        return false;
    if (!WaitForShown(game, Shown::ProgressMap, 30, mapShot))
        return false;
    if (!HoldUntil(
            game, "space", [&]() { return Classify(game) != Shown::ProgressMap; }, 30, playShot))
        return false;
    return WaitForShown(game, Shown::Play, 30, playShot);
}

bool LeaveGame(GameProcess &game, const std::string &name)
{
    if (!HoldUntilShown(game, "Escape", Shown::Question, 30, name + "_question"))
        return false;
    if (!HoldUntil(
            game, "y", [&]() { return Classify(game) != Shown::Question; }, 30, name))
        return false;
    // The initials entry opens with a loading line first.
    for (int i = 0; i < 10 && Classify(game) != Shown::Menu; i++) {
        if (Classify(game) == Shown::Initials) {
            HoldUntil(
                game, "Return", [&]() { return Classify(game) != Shown::Initials; }, 30, name + "_initials");
        }
        WaitForShown(game, Shown::Menu, 2, name);
    }
    return Classify(game) == Shown::Menu;
}

bool LoseToGameOver(GameProcess &game, const std::string &name)
{
    // Bombs go down with the fire key (left Control), which the game over
    // page ignores, so a press that lands there cannot turn it away unseen.
    auto start = std::chrono::steady_clock::now();
    while (game.Running() && std::chrono::steady_clock::now() - start < std::chrono::seconds(90)) {
        Shown shown = game.Screenshot(name) > 0 ? Classify(game) : Shown::Other;
        if (shown == Shown::GameOver)
            return true;
        if (shown == Shown::Initials) {
            ADD_FAILURE() << "the game over page was skipped";
            return false;
        }
        if (shown == Shown::Play)
            game.Press("Control_L", 100);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    return false;
}

static void PutLe32(std::string &out, int32_t value)
{
    uint32_t v = (uint32_t)value;
    for (int i = 0; i < 4; i++)
        out += (char)((v >> (8 * i)) & 255);
}

static int32_t GetLe32(const std::string &in, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; i++)
        v |= (uint32_t)(unsigned char)in[at + i] << (8 * i);
    return (int32_t)v;
}

std::string ScoreFile(const std::vector<ScoreRow> &rows)
{
    std::string out;
    uint32_t sum = 0;
    for (const ScoreRow &row : rows) {
        std::string initials = row.initials.substr(0, 4);
        initials.resize(4, '\0');
        out += initials;
        PutLe32(out, row.score);
        sum += (uint32_t)row.score;
    }
    PutLe32(out, (int32_t)sum);
    return out;
}

std::vector<ScoreRow> ReadScoreFile(const std::string &bytes)
{
    if (bytes.size() != 84)
        return {};
    std::vector<ScoreRow> rows;
    uint32_t sum = 0;
    for (int i = 0; i < 10; i++) {
        std::string initials = bytes.substr(8 * i, 4);
        initials.resize(initials.find('\0') == std::string::npos ? 4 : initials.find('\0'));
        rows.push_back({initials, GetLe32(bytes, 8 * i + 4)});
        sum += (uint32_t)rows.back().score;
    }
    if ((int32_t)sum != GetLe32(bytes, 80))
        return {};
    return rows;
}

std::string QuickDeathLevel()
{
    std::vector<int32_t> codes(1275, -1);
    for (int i = 0; i < 425; i++)
        codes[i] = 71;              // dug tunnel
    codes[850 + 15 * 25 + 12] = 0;  // an item under the hero's start
    std::string out;
    for (int32_t c : codes)
        PutLe32(out, c);
    return out;
}
