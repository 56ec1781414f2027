// The installed library: cmake --install lays out headers, library, pkg-config
// file and mivolen-play; a program outside the project builds against it with
// pkg-config and plays a file; the header goes with Allegro's and X11's in
// either order; the library exports exactly the symbols its Debian symbols
// file lists.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "avi_writer.h"

namespace {

// Runs a shell command; returns its exit code and fills out with stdout and stderr.
int Shell(const std::string &cmd, std::string &out) {
  out.clear();
  FILE *p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return -1;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

const char *kProgram = R"(#include <allegro.h>
#include <mivolen/mivolen.h>
#include <cstdio>
#include <cstdlib>
int main(int argc, char **argv) {
  MivolenSetLogHook(nullptr, nullptr);
  Mivolen player;
  int r = player.Open(argv[1]);
  if (r != 0) { std::printf("open %d\n", r); return 1; }
  std::printf("size %dx%d\n", player.Width(), player.Height());
  if (!std::getenv("DISPLAY")) return 0;
  if (allegro_init() != 0 || install_timer() != 0) return 2;
  BITMAP *target = create_bitmap_ex(32, 100, 100);
  clear_to_color(target, 0);
  if (player.Play(target, false, false) != 0) return 3;
  int c = getpixel(target, 50, 50);
  std::printf("played %d %d %d\n", getr32(c) > 100, getg32(c) > 100, getb32(c) > 100);
  destroy_bitmap(target);
  return 0;
}
)";

TEST(InstalledLibrary, BuildsAndPlaysOutsideTheProject) {
  std::string out;
  if (Shell("command -v pkg-config && command -v c++", out) != 0) GTEST_SKIP() << "needs pkg-config and c++";
  std::string root = TempPath("install");
  std::string prefix = root + "/prefix";
  ASSERT_EQ(Shell("rm -rf '" + root + "' && mkdir -p '" + root + "'", out), 0) << out;
  for (const char *component : {"libmivolen1", "libmivolen-dev", "mivolen-player"})
    ASSERT_EQ(Shell(std::string("'") + CMAKE_COMMAND + "' --install '" + MIVOLEN_BUILD_DIR + "' --prefix '" + prefix +
                        "' --component " + component,
                    out),
              0)
        << out;
  for (const char *f : {"/include/mivolen/mivolen.h", "/include/mivolen/vfw_types.h", "/" MIVOLEN_LIBDIR "/libmivolen.so",
                        "/" MIVOLEN_LIBDIR "/pkgconfig/mivolen.pc", "/bin/mivolen-play"})
    EXPECT_TRUE(Exists(prefix + f)) << f;
  std::string env = "PKG_CONFIG_PATH='" + prefix + "/" MIVOLEN_LIBDIR "/pkgconfig' ";
  std::string libdir;
  ASSERT_EQ(Shell(env + "pkg-config --variable=libdir mivolen", libdir), 0) << libdir;
  libdir.erase(libdir.find_last_not_of("\n") + 1);
  EXPECT_TRUE(Exists(libdir + "/libmivolen.so")) << libdir;

  // Exactly the symbols of the symbols file, each with its version.
  std::string exported;
  ASSERT_EQ(Shell("nm -D --defined-only '" + libdir + "/libmivolen.so' | awk '{print $3}' | sed 's/@@/@/'", exported),
            0);
  std::set<std::string> have, listed;
  std::istringstream lines(exported);
  for (std::string line; std::getline(lines, line);)  // the version node itself is listed as VER@VER
    if (!line.empty()) have.insert(line.find('@') == std::string::npos ? line + "@" + line : line);
  std::ifstream symbols(MIVOLEN_SYMBOLS_FILE);
  for (std::string line; std::getline(symbols, line);)
    if (line.size() > 1 && line[0] == ' ') listed.insert(line.substr(1, line.find(' ', 1) - 1));
  EXPECT_GT(listed.size(), 40u);
  EXPECT_TRUE(have == listed) << "exported:\n" << exported;

  // The header with Allegro's and X11's, in both orders; TRUE stays Allegro's.
  const char *orders[][2] = {{"allegro.h", "mivolen/mivolen.h"},
                             {"mivolen/mivolen.h", "allegro.h"},
                             {"X11/Xlib.h X11/Xmd.h X11/Xutil.h", "mivolen/mivolen.h"},
                             {"mivolen/mivolen.h", "X11/Xmd.h X11/Xlib.h X11/Xutil.h"},
                             {"allegro.h xalleg.h", "mivolen/mivolen.h"},
                             {"mivolen/mivolen.h allegro.h", "xalleg.h"}};
  for (const auto &order : orders) {
    std::string source;
    for (const char *group : order) {
      std::istringstream names(group);
      for (std::string name; names >> name;) source += "#include <" + name + ">\n";
    }
    source +=
        "static_assert(TRUE == -1 && FALSE == 0, \"Allegro's TRUE\");\n"
        "BYTE byte; DWORD dword; BITMAPINFOHEADER header; WAVEFORMATEX wave;\n";
    std::ofstream(root + "/order.cpp") << source;
    EXPECT_EQ(
        Shell("cd '" + root + "' && c++ -std=c++17 -fsyntax-only order.cpp $(" + env + "pkg-config --cflags mivolen)",
              out),
        0)
        << source << out;
  }

  std::ofstream(root + "/main.cpp") << kProgram;
  AviSpec spec;
  spec.video.push_back(Video24(2, 64, 48));
  spec.video[0].rate = 20;
  spec.audio.push_back(Pcm(2, 16, 8000, 800));
  WriteBytes(root + "/clip.avi", BuildAvi(spec));

  // With the runtime packages only, FFmpeg's .pc files are missing: only
  // mivolen.pc and Allegro's (which libmivolen-dev depends on) are there.
  std::string allegroPc;
  ASSERT_EQ(Shell("pkg-config --variable=pcfiledir allegro", allegroPc), 0);
  allegroPc.erase(allegroPc.find_last_not_of("\n") + 1);
  ASSERT_EQ(
      Shell("mkdir -p '" + root + "/runtime-pc' && cp '" + allegroPc + "/allegro.pc' '" + root + "/runtime-pc/'", out),
      0)
      << out;
  EXPECT_EQ(Shell("PKG_CONFIG_LIBDIR='" + prefix + "/" MIVOLEN_LIBDIR "/pkgconfig:" + root +
                      "/runtime-pc' pkg-config --cflags --libs mivolen",
                  out),
            0)
      << out;

  ASSERT_EQ(Shell("cd '" + root + "' && " + env + "c++ -std=c++17 main.cpp -o player $(" + env +
                      "pkg-config --cflags --libs mivolen)",
                  out),
            0)
      << out;
  std::string run = "LD_LIBRARY_PATH='" + libdir + "' '" + root + "/player' ";
  ASSERT_EQ(Shell(run + "'" + root + "/clip.avi'", out), 0) << out;
  EXPECT_NE(out.find("size 64x48"), std::string::npos) << out;
  // Frame 1's bottom-right quadrant sits at the centre of the 100x100 target.
  if (std::getenv("DISPLAY")) {
    EXPECT_NE(out.find("played 0 0 1"), std::string::npos) << out;
  }
  EXPECT_EQ(Shell(run + "'" + root + "/missing.avi'", out), 1);
  EXPECT_NE(out.find("open -1"), std::string::npos) << out;

  // The example player explains a failed Open and exits 1.
  EXPECT_EQ(Shell("DISPLAY= '" + prefix + "/bin/mivolen-play' '" + root + "/missing.avi'", out), 1);
  EXPECT_NE(out.find("Open returned -1"), std::string::npos) << out;
  if (std::getenv("DISPLAY")) {
    EXPECT_EQ(Shell("'" + prefix + "/bin/mivolen-play' '" + root + "/clip.avi'", out), 0) << out;
  }
  Shell("rm -rf '" + root + "'", out);
}

}  // namespace
