// game_process.h: runs the real game executable in a private copy of the game
// folder and talks to its window: keys through xdotool, the close button
// through a window-manager message, screenshots through xwd.
#ifndef DELVORN_TEST_GAME_PROCESS_H
#define DELVORN_TEST_GAME_PROCESS_H

#include <string>
#include <sys/types.h>
#include <vector>

std::string ReadFile(const std::string &path);
std::vector<std::string> SplitLines(const std::string &text);

class GameProcess {
public:
    // A fresh folder under the test's temp dir with the game, Fonts, Maps,
    // Config from the built game folder, empty Logs and HiScore, and a
    // stand-in xmessage that records start-up messages instead of waiting
    // for a click. The game runs portable there, whatever its working folder.
    explicit GameProcess(const std::string &name);
    ~GameProcess();

    void CopyData();
    void WriteFile(const std::string &relative, const std::string &bytes);

    void Start(const std::vector<std::string> &environment = {});
    // Exit code, -100 - signal when killed by one, -1000 after the timeout
    // (the game is then killed).
    int WaitExit(int seconds);
    bool Running();
    void Kill(int signal);

    std::string Log() const;
    bool WaitForLog(const std::string &text, int seconds) const;

    // Holds a key (an xdotool key name) long enough for a screen pass to see it.
    void Press(const std::string &keyName, int holdMs = 150);
    void Hold(const std::string &keyName);
    void Release(const std::string &keyName);
    bool CloseWindow();
    // The screen as a PNG under the test's temp dir; returns the number of
    // distinct colours seen (0 when it could not be taken).
    int Screenshot(const std::string &name);
    // Of the last screenshot: the colour 0xRRGGBB at (x, y) (0 when there is
    // none), and how many pixels of the rectangle lie within `tolerance` of
    // a colour in every channel (the game draws at 16 bits, so colours come
    // back rounded).
    unsigned PixelAt(int x, int y) const;
    int CountNear(unsigned rgb, int x1, int y1, int x2, int y2, int tolerance = 12) const;

    std::string dir;
    std::string exe;      // the program started: dir's copy of the game
    std::string workDir;  // its working folder: dir
    std::string logDir;   // where its Logs folder lies: dir
    pid_t pid = -1;
    int exitStatus = -1000;  // kept once the game has been reaped
    // Each game gets an X display of its own, so that tests can run side by
    // side without their keys reaching each other's windows.
    std::string display;
    pid_t xvfbPid = -1;

private:
    void StartDisplay();
    std::string shot_;
    size_t shotStart_ = 0;
    int shotWidth_ = 0, shotHeight_ = 0;
    std::string X(const std::string &command) const;
};

bool HaveDisplay();

#endif
