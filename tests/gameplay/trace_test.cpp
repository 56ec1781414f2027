// The trace tool: its line of state per step, where it stops, and how it
// refuses a map it cannot read.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct TraceRun {
    int exitCode;
    std::vector<std::string> lines;
};

TraceRun Trace(const std::string &arguments)
{
    std::string command = std::string(DELVORN_TRACE_TOOL) + " " + arguments + " 2>/dev/null";
    TraceRun run{-1, {}};
    FILE *out = popen(command.c_str(), "r");
    if (!out)
        return run;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, out)) {
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        run.lines.push_back(line);
    }
    int status = pclose(out);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Earth everywhere; the exit door at (11, 15) when asked; one gem at (0, 0).
std::string WriteMap(const char *name, bool withExit)
{
    std::string path = std::string(name) + "_" + std::to_string(getpid()) + ".map";
    FILE *f = std::fopen(path.c_str(), "wb");
    for (int layer = 0; layer < 3; layer++)
        for (int row = 0; row < 17; row++)
            for (int column = 0; column < 25; column++) {
                int code = layer == 0 ? 1 : -1;
                if (withExit && layer == 0 && row == 15 && column == 11)
                    code = 0;
                if (layer == 2 && row == 0 && column == 0)
                    code = 3;
                unsigned char b[4] = {(unsigned char)code, (unsigned char)(code >> 8),
                                      (unsigned char)(code >> 16), (unsigned char)(code >> 24)};
                std::fwrite(b, 1, 4, f);
            }
    std::fclose(f);
    return path;
}

std::string WriteInput(const char *text)
{
    std::string path = "input_" + std::to_string(getpid()) + ".txt";
    FILE *f = std::fopen(path.c_str(), "w");
    std::fputs(text, f);
    std::fclose(f);
    return path;
}

TEST(Trace, OneLineOfStatePerStepDrivenByTheInputFile)
{
    std::string map = WriteMap("plain", false);
    std::string input = WriteInput("L\nLF\n\nxyz\n");
    TraceRun run = Trace("--ticks 5 --level 3 --input " + input + " " + map);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 5u);
    EXPECT_EQ(run.lines[0],
              "tick=1 hero=380,480,1 score=0 lives=3 items=1 bombs=1,0 potion=0 shields=0 "
              "dug=1 gold=0 state=RUN enemies=768,0,1,4;768,0,1,4;768,0,1,4;768,0,1,4;"
              "768,0,1,4 bags=");
    EXPECT_EQ(run.lines[1].substr(0, 20), "tick=2 hero=376,480,");
    EXPECT_NE(run.lines[1].find(" bombs=1,1 "), std::string::npos);
    // Empty, unknown and missing lines hold nothing.
    for (int t = 2; t < 5; t++)
        EXPECT_EQ(run.lines[t].find("hero=376,480,1 "), 7u) << t;
    std::remove(map.c_str());
    std::remove(input.c_str());
}

TEST(Trace, StopsAfterTheStepThatLeavesPlay)
{
    std::string map = WriteMap("exit", true);
    std::string input = WriteInput("L\n");
    TraceRun run = Trace("--ticks 10 --input " + input + " " + map);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_NE(run.lines[0].find(" score=250 "), std::string::npos);
    EXPECT_NE(run.lines[0].find(" state=MAP "), std::string::npos);
    std::remove(map.c_str());
    std::remove(input.c_str());
}

TEST(Trace, UnreadableMapOrBadArgumentsFail)
{
    TraceRun run = Trace("no_such_dir/none.map");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_NE(Trace("--level 21 x.map").exitCode, 0);
    EXPECT_NE(Trace("").exitCode, 0);
}

// Every shipped level, played from its recorded input: the trace must match
// the recorded one byte for byte, so that no change alters play unnoticed.
std::vector<std::string> ReadLines(const std::string &command)
{
    std::vector<std::string> lines;
    FILE *in = popen(command.c_str(), "r");
    if (!in)
        return lines;
    std::string line;
    for (int c; (c = std::fgetc(in)) != EOF;) {
        line += (char)c;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(line);
    pclose(in);
    return lines;
}

TEST(Trace, ShippedLevelsReplayByteIdentical)
{
    const std::string traces = std::string(DELVORN_SOURCE_DIR) + "/tests/gameplay/traces/";
    const std::string game = DELVORN_GAME_DIR;
    for (int level = 1; level <= 20; level++) {
        char name[16];
        std::snprintf(name, sizeof name, "level%02d", level);
        std::vector<std::string> expected = ReadLines("gzip -dc " + traces + name + ".trace.gz");
        ASSERT_EQ(expected.size(), 400u) << name;
        std::vector<std::string> actual =
            ReadLines(std::string(DELVORN_TRACE_TOOL) + " --data " + game + " --level " +
                      std::to_string(level) + " --ticks 400 --input " + traces + name + ".in " + game +
                      "/Maps/Zub" + std::to_string(level) + ".map 2>/dev/null");
        ASSERT_EQ(actual.size(), expected.size()) << name;
        for (size_t t = 0; t < expected.size(); t++)
            ASSERT_EQ(actual[t], expected[t]) << name << " step " << t + 1;
    }
}

}  // namespace
