// The set-up script's package list: everything the sanitizer and fuzzer build
// links must come with it on a fresh machine, where apt installs no
// recommended packages.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string Output(const std::string &command)
{
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::string SetupPackages()
{
    std::ifstream in(std::string(DELVORN_SOURCE_DIR) + "/scripts/setup.sh");
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    size_t begin = text.find("packages=(");
    size_t end = text.find(')', begin);
    if (begin == std::string::npos || end == std::string::npos)
        return "";
    std::string list = text.substr(begin + 10, end - begin - 10);
    for (char &c : list)
        if (c == '\n')
            c = ' ';
    return list;
}

TEST(SetupScript, InstallsTheRuntimesTheSanitizerAndFuzzerBuildsLink)
{
    if (Output("for p in clang++ dpkg apt-cache; do command -v $p; done | wc -l") != "3\n")
        GTEST_SKIP() << "needs clang++, dpkg and apt-cache";
    std::string packages = SetupPackages();
    ASSERT_FALSE(packages.empty());

    // Hard dependencies only: what a --no-install-recommends install brings.
    std::set<std::string> installed;
    std::stringstream closure(
        Output("apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts "
               "--no-breaks --no-replaces --no-enhances " +
               packages + " 2>/dev/null"));
    for (std::string line; std::getline(closure, line);)
        if (!line.empty() && line[0] != ' ')
            installed.insert(line);
    ASSERT_GT(installed.size(), 100u);

    // The libraries clang puts on the link line, and the packages owning them.
    std::stringstream link(Output("clang++ -fsanitize=fuzzer,address,undefined -### -x c++ /dev/null 2>&1"));
    int runtimes = 0;
    for (std::string word; link >> word;) {
        if (word.find("libclang_rt.") == std::string::npos || word.find("--") != std::string::npos)
            continue;
        std::string file = word.substr(1, word.size() - 2);  // quoted
        std::string owner = Output("dpkg -S '" + file + "' 2>/dev/null | cut -d: -f1");
        ASSERT_FALSE(owner.empty()) << file << " is not installed from a package";
        owner.pop_back();
        EXPECT_TRUE(installed.count(owner))
            << file << " comes from " << owner << ", which set-up does not install";
        runtimes++;
    }
    EXPECT_GE(runtimes, 3);
}

}  // namespace
