// xpm.cpp: the window icon as XPM source, the form X11's icon hints take,
// compiled into the game.
#include "tools/datbuild/xpm.h"

#include <cstdio>
#include <map>

bool SaveIconXpm(const std::string &path, const Picture &pic, const std::string &name)
{
    // Two characters a pixel name every colour an icon of a few sizes needs.
    const char digits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const int base = sizeof digits - 1;
    std::map<uint32_t, std::string> codes;
    for (uint32_t p : pic.pixels) {
        p &= 0xFFFFFF;
        if (codes.count(p))
            continue;
        const int n = (int)codes.size();
        if (n >= base * base)
            return false;
        codes[p] = std::string(1, digits[n / base]) + digits[n % base];
    }
    FILE *out = std::fopen(path.c_str(), "w");
    if (!out)
        return false;
    std::fprintf(out, "/* XPM */\nstatic const char *%s[] = {\n\"%d %d %d 2\",\n", name.c_str(), pic.width,
                 pic.height, (int)codes.size());
    for (const auto &c : codes) {
        if (c.first == 0xFF00FF)
            std::fprintf(out, "\"%s c None\",\n", c.second.c_str());
        else
            std::fprintf(out, "\"%s c #%06X\",\n", c.second.c_str(), (unsigned)c.first);
    }
    for (int y = 0; y < pic.height; y++) {
        std::fputc('"', out);
        for (int x = 0; x < pic.width; x++)
            std::fputs(codes[pic.pixels[(size_t)y * pic.width + x] & 0xFFFFFF].c_str(), out);
        std::fprintf(out, "\"%s\n", y + 1 < pic.height ? "," : "");
    }
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0;
}
