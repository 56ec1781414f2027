// game_process.cpp: driving the real game for end-to-end tests.
#include "tests/support/game_process.h"

#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it

#include <X11/Xlib.h>

#include "tools/xclose/xclose.h"
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

static void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

static int Run(const std::string &command)
{
    return std::system(command.c_str());
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::stringstream ss(text);
    for (std::string line; std::getline(ss, line);)
        lines.push_back(line);
    return lines;
}

bool HaveDisplay()
{
    return std::system("command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") == 0;
}

GameProcess::GameProcess(const std::string &name)
{
    dir = std::string(testing::TempDir()) + "game_" + name;
    std::string game = DELVORN_GAME_DIR;
    Run("rm -rf '" + dir + "' && mkdir -p '" + dir + "/Logs' '" + dir + "/HiScore' '" + dir + "/Config' '" +
        dir + "/bin'");
    Run("cp -r '" + game + "/Fonts' '" + game + "/Maps' '" + dir + "/' 2>/dev/null");
    Run("cp '" + game + "/Config/'* '" + dir + "/Config/'");
    // A link where the file system allows one: the game finds its files from
    // its own location.
    exe = dir + "/Delvorn";
    Run("ln '" DELVORN_EXE "' '" + exe + "' 2>/dev/null || cp '" DELVORN_EXE "' '" + exe + "'");
    workDir = logDir = dir;
    std::ofstream fake(dir + "/bin/xmessage");
    fake << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" << dir << "/message.txt'\n";
    fake.close();
    chmod((dir + "/bin/xmessage").c_str(), 0755);
}

GameProcess::~GameProcess()
{
    if (pid > 0 && Running())
        Kill(SIGKILL);
    if (xvfbPid > 0) {
        kill(xvfbPid, SIGTERM);
        waitpid(xvfbPid, nullptr, 0);
    }
}

void GameProcess::StartDisplay()
{
    for (int n = 200 + (getpid() % 300); n < 1000; n++) {
        std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
        if (access(lock.c_str(), F_OK) == 0 || access(sock.c_str(), F_OK) == 0)
            continue;
        // Two tests may pick the same free number at once, and the socket
        // that appears may be the other one's server: only our own Xvfb's
        // line on -displayfd says the number is ours (one that lost the lock
        // exits without it).
        int ready[2];
        if (pipe(ready) != 0)
            break;
        display = ":" + std::to_string(n);
        xvfbPid = fork();
        if (xvfbPid == 0) {
            close(ready[0]);
            (void)!freopen("/dev/null", "w", stdout);
            (void)!freopen("/dev/null", "w", stderr);
            // -noreset: a game started again on this display must not
            // find it refusing connections while it resets after the last.
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", "-noreset", (char *)nullptr);
            _exit(98);
        }
        close(ready[1]);
        // The whole line: Xvfb writes the number and the newline apart and
        // gives up if the pipe is closed in between.
        std::string answer;
        pollfd wait = {ready[0], POLLIN, 0};
        char c;
        while (answer.find('\n') == std::string::npos && poll(&wait, 1, 10000) == 1 &&
               read(ready[0], &c, 1) == 1)
            answer += c;
        close(ready[0]);
        if (answer.find('\n') != std::string::npos)
            return;
        if (xvfbPid > 0) {
            kill(xvfbPid, SIGKILL);
            waitpid(xvfbPid, nullptr, 0);
        }
        xvfbPid = -1;
    }
    display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
}

std::string GameProcess::X(const std::string &command) const
{
    return "DISPLAY=" + display + " " + command;
}

void GameProcess::CopyData()
{
    Run("cp '" + std::string(DELVORN_GAME_DIR) + "/Data.dat' '" + dir + "/'");
}

void GameProcess::WriteFile(const std::string &relative, const std::string &bytes)
{
    std::ofstream(dir + "/" + relative, std::ios::binary) << bytes;
}

void GameProcess::Start(const std::vector<std::string> &environment)
{
    if (display.empty())
        StartDisplay();
    pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        if (chdir(workDir.c_str()) != 0)
            _exit(99);
        std::string path = dir + "/bin:" + std::getenv("PATH");
        setenv("PATH", path.c_str(), 1);
        for (const std::string &assignment : environment)
            putenv(strdup(assignment.c_str()));
        if (!freopen((dir + "/stdout.txt").c_str(), "w", stdout) ||
            !freopen((dir + "/stderr.txt").c_str(), "w", stderr))
            _exit(97);
        execl(exe.c_str(), "Delvorn", (char *)nullptr);
        _exit(98);
    }
}

static int DecodeStatus(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -100 - WTERMSIG(status);
}

int GameProcess::WaitExit(int seconds)
{
    for (int i = 0; i < seconds * 10 && Running(); i++)
        Sleep(100);
    if (Running())
        Kill(SIGKILL);
    return exitStatus;
}

bool GameProcess::Running()
{
    if (pid <= 0)
        return false;
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) {
        exitStatus = DecodeStatus(status);
        pid = -1;
        return false;
    }
    return true;
}

void GameProcess::Kill(int signal)
{
    if (pid <= 0)
        return;
    kill(pid, signal);
    if (signal == SIGKILL) {
        waitpid(pid, nullptr, 0);
        pid = -1;
        exitStatus = -1000;  // killed by the harness, not ended by itself
    }
}

std::string GameProcess::Log() const
{
    return ReadFile(logDir + "/Logs/LogFile.log");
}

bool GameProcess::WaitForLog(const std::string &text, int seconds) const
{
    for (int i = 0; i < seconds * 10; i++) {
        if (Log().find(text) != std::string::npos)
            return true;
        Sleep(100);
    }
    return false;
}

void GameProcess::Hold(const std::string &keyName)
{
    Run(X("xdotool search --name '^Delvorn$' windowfocus >/dev/null 2>&1; ") +
        X("xdotool keydown " + keyName));
}

void GameProcess::Release(const std::string &keyName)
{
    Run(X("xdotool keyup " + keyName));
}

void GameProcess::Press(const std::string &keyName, int holdMs)
{
    Hold(keyName);
    Sleep(holdMs);
    Release(keyName);
    Sleep(150);
}

bool GameProcess::CloseWindow()
{
    Display *d = XOpenDisplay(display.c_str());
    if (!d)
        return false;
    bool sent = CloseWindowsNamed(d, "Delvorn") != 0;
    XCloseDisplay(d);
    return sent;
}

int GameProcess::Screenshot(const std::string &name)
{
    std::string png = dir + "/" + name + ".png";
    std::string ppm = dir + "/" + name + ".ppm";
    if (Run(X("xwd -root -silent") + " | convert xwd:- -crop 800x600+0+0 +repage '" + png + "' && convert '" +
            png + "' '" + ppm + "'") != 0)
        return 0;
    // Count colours in the binary PPM (P6); its header may hold comments.
    shot_ = ReadFile(ppm);
    std::remove(ppm.c_str());
    int fields[4] = {0, 0, 0, 0};  // magic, width, height, maximum
    size_t at = 0;
    for (int f = 0; f < 4 && at < shot_.size(); f++) {
        for (;;) {
            while (at < shot_.size() && std::isspace((unsigned char)shot_[at]))
                at++;
            if (at < shot_.size() && shot_[at] == '#')
                while (at < shot_.size() && shot_[at] != '\n')
                    at++;
            else
                break;
        }
        size_t begin = at;
        while (at < shot_.size() && !std::isspace((unsigned char)shot_[at]))
            at++;
        std::string token = shot_.substr(begin, at - begin);
        fields[f] = f == 0 ? (token == "P6") : std::atoi(token.c_str());
    }
    shotWidth_ = fields[1];
    shotHeight_ = fields[2];
    shotStart_ = at + 1;
    if (!fields[0] || fields[3] != 255 || shot_.size() < shotStart_ + 3 * (size_t)shotWidth_ * shotHeight_) {
        shot_.clear();
        shotWidth_ = shotHeight_ = 0;
        return 0;
    }
    std::set<unsigned> colours;
    for (size_t i = shotStart_; i + 2 < shot_.size() && colours.size() < 1000; i += 3 * 7)
        colours.insert(((unsigned char)shot_[i] << 16) | ((unsigned char)shot_[i + 1] << 8) |
                       (unsigned char)shot_[i + 2]);
    return (int)colours.size();
}

unsigned GameProcess::PixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= shotWidth_ || y >= shotHeight_)
        return 0;
    size_t i = shotStart_ + 3 * ((size_t)y * shotWidth_ + x);
    if (i + 2 >= shot_.size())
        return 0;
    return ((unsigned char)shot_[i] << 16) | ((unsigned char)shot_[i + 1] << 8) | (unsigned char)shot_[i + 2];
}

int GameProcess::CountNear(unsigned rgb, int x1, int y1, int x2, int y2, int tolerance) const
{
    int count = 0;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++) {
            unsigned c = PixelAt(x, y);
            bool near = true;
            for (int shift = 0; shift <= 16; shift += 8) {
                int d = (int)((c >> shift) & 255) - (int)((rgb >> shift) & 255);
                if (d < -tolerance || d > tolerance)
                    near = false;
            }
            if (near)
                count++;
        }
    return count;
}
