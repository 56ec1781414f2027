// contactsheet.cpp: the art review sheet, composed in an Allegro memory
// bitmap (for its font) and saved with libpng.
#include "tools/datbuild/contactsheet.h"

#include <allegro.h>
#include <png.h>
#include <algorithm>
#include <cstdio>

namespace {

uint32_t ShownColour(uint32_t p, int x, int y)
{
    if ((p & 0xFFFFFF) != 0xFF00FF)
        return p & 0xFFFFFF;
    return (((x >> 2) + (y >> 2)) & 1) ? 0x505058 : 0x383840;
}

// With `clearIsTransparent`, magenta pixels are written fully transparent.
bool SaveRgbPng(const std::string &path, int w, int h, const std::vector<uint32_t> &rgb,
                bool clearIsTransparent = false)
{
    FILE *fp = std::fopen(path.c_str(), "wb");
    if (!fp)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(fp);
        return false;
    }
    png_init_io(png, fp);
    const int channels = clearIsTransparent ? 4 : 3;
    png_set_IHDR(png, info, w, h, 8, clearIsTransparent ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(w * channels);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            uint32_t p = rgb[(size_t)y * w + x] & 0xFFFFFF;
            png_byte *out = &row[x * channels];
            const bool clear = clearIsTransparent && p == 0xFF00FF;
            out[0] = clear ? 0 : (p >> 16) & 0xFF;
            out[1] = clear ? 0 : (p >> 8) & 0xFF;
            out[2] = clear ? 0 : p & 0xFF;
            if (clearIsTransparent)
                out[3] = clear ? 0 : 255;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(fp) == 0;
}

// Nearest-neighbour copy of pic into bmp at (x, y), scaled to w x h.
void PutScaled(BITMAP *bmp, const Picture &pic, int x, int y, int w, int h)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int sx = i * pic.width / w, sy = j * pic.height / h;
            uint32_t p = ShownColour(pic.pixels[(size_t)sy * pic.width + sx], i, j);
            putpixel(bmp, x + i, y + j, makecol32((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
}

}  // namespace

bool SavePicturePng(const std::string &path, const Picture &pic)
{
    std::vector<uint32_t> rgb(pic.pixels.size());
    for (int y = 0; y < pic.height; y++)
        for (int x = 0; x < pic.width; x++)
            rgb[(size_t)y * pic.width + x] = ShownColour(pic.pixels[(size_t)y * pic.width + x], x, y);
    return SaveRgbPng(path, pic.width, pic.height, rgb);
}

bool SaveIconPng(const std::string &path, const Picture &pic)
{
    return SaveRgbPng(path, pic.width, pic.height, pic.pixels, true);
}

bool WriteContactSheet(const std::string &path, const std::vector<std::pair<int, Picture>> &pictures)
{
    const int sheetW = 1640, cellW = 80, cellH = 84, bigW = 400, bigH = 316;
    const int perRow = sheetW / cellW;
    int small = 0, big = 0;
    for (auto &e : pictures)
        (e.second.width > 64 || e.second.height > 64) ? big++ : small++;
    const int smallRows = (small + perRow - 1) / perRow;
    const int bigPerRow = sheetW / (bigW + 10);
    const int sheetH = smallRows * cellH + ((big + bigPerRow - 1) / bigPerRow) * (bigH + 10) + 10;

    BITMAP *bmp = create_bitmap_ex(32, sheetW, sheetH);
    if (!bmp)
        return false;
    clear_to_color(bmp, makecol32(24, 24, 30));
    int si = 0, bi = 0;
    for (auto &e : pictures) {
        const Picture &p = e.second;
        char label[16];
        std::snprintf(label, sizeof label, "%d", e.first);
        if (p.width > 64 || p.height > 64) {
            int x = (bi % bigPerRow) * (bigW + 10) + 5;
            int y = smallRows * cellH + (bi / bigPerRow) * (bigH + 10) + 5;
            double k = std::min((double)bigW / p.width, (double)(bigH - 12) / p.height);
            PutScaled(bmp, p, x, y, (int)(p.width * k), (int)(p.height * k));
            textout_ex(bmp, font, label, x, y + bigH - 10, makecol32(255, 255, 120), -1);
            bi++;
        } else {
            int x = (si % perRow) * cellW + 8, y = (si / perRow) * cellH + 4;
            int k = std::max(1, 64 / std::max(p.width, p.height));
            PutScaled(bmp, p, x, y, p.width * k, p.height * k);
            textout_ex(bmp, font, label, x, y + 68, makecol32(255, 255, 120), -1);
            si++;
        }
    }
    std::vector<uint32_t> rgb((size_t)sheetW * sheetH);
    for (int y = 0; y < sheetH; y++)
        for (int x = 0; x < sheetW; x++) {
            int c = getpixel(bmp, x, y);
            rgb[(size_t)y * sheetW + x] = (getr32(c) << 16) | (getg32(c) << 8) | getb32(c);
        }
    destroy_bitmap(bmp);
    return SaveRgbPng(path, sheetW, sheetH, rgb);
}

namespace {

void PutPicture(Picture &screen, int entry, int x, int y)
{
    Picture p = MakePicture(entry);
    for (int j = 0; j < p.height; j++)
        for (int i = 0; i < p.width; i++) {
            uint32_t v = p.pixels[(size_t)j * p.width + i];
            if ((v & 0xFFFFFF) != 0xFF00FF && x + i < screen.width && y + j < screen.height)
                screen.pixels[(size_t)(y + j) * screen.width + x + i] = v;
        }
}

}  // namespace

namespace {

// A level file drawn as play draws its cells, or false when it cannot be read.
bool DrawMap(const std::string &mapPath, Picture *screen)
{
    FILE *f = std::fopen(mapPath.c_str(), "rb");
    if (!f)
        return false;
    unsigned char raw[1275 * 4];
    const bool complete = std::fread(raw, 1, sizeof raw, f) == sizeof raw;
    std::fclose(f);
    if (!complete)
        return false;
    auto code = [&](int layer, int row, int col) {
        const unsigned char *b = raw + ((layer * 17 + row) * 25 + col) * 4;
        return (int32_t)(b[0] | (b[1] << 8) | (b[2] << 16) | ((uint32_t)b[3] << 24));
    };
    *screen = MakePicture(292);
    // Layer 0, bags, layer 2, layer 1, then heart and potion: the play order.
    const int order[] = {0, 2, 1};
    for (int layer : order)
        for (int r = 0; r < 17; r++)
            for (int col = 0; col < 25; col++) {
                int c = code(layer, r, col);
                if (c < 0 || c == 999 || (layer == 2 && c == 22))
                    continue;
                bool valid = layer == 2 ? c <= 26 : c <= 73;
                if (valid)
                    PutPicture(*screen, c + (layer == 2 ? 78 : 2), col * 32, r * 32);
            }
    for (int r = 0; r < 17; r++)
        for (int col = 0; col < 25; col++) {
            if (code(2, r, col) == 22)
                PutPicture(*screen, 208, col * 32, r * 32);
            if (code(2, r, col) == 19)
                PutPicture(*screen, 299, col * 32, r * 32);
        }
    PutPicture(*screen, 237, 12 * 32, 15 * 32);
    return true;
}

}  // namespace

bool WriteMapPreview(const std::string &mapPath, const std::string &path)
{
    Picture screen;
    if (!DrawMap(mapPath, &screen))
        return false;
    PutPicture(screen, 298, 0, 545);
    return SavePicturePng(path, screen);
}

bool WriteLevelSheet(const std::string &path, const std::vector<std::string> &mapPaths)
{
    // Each map at half size (400 x 272) under a label line, five to a row.
    const int mapW = 400, mapH = 272, labelH = 14, gap = 6, perRow = 5;
    const int count = (int)mapPaths.size();
    const int rows = (count + perRow - 1) / perRow;
    const int sheetW = perRow * (mapW + gap) + gap, sheetH = rows * (mapH + labelH + gap) + gap;
    BITMAP *bmp = create_bitmap_ex(32, sheetW, sheetH);
    if (!bmp)
        return false;
    clear_to_color(bmp, makecol32(24, 24, 30));
    bool ok = true;
    for (int i = 0; i < count && ok; i++) {
        Picture screen;
        ok = DrawMap(mapPaths[i], &screen);
        if (!ok)
            break;
        Picture field;
        field.width = 800;
        field.height = 544;
        field.pixels.assign(screen.pixels.begin(), screen.pixels.begin() + 800 * 544);
        int x = gap + (i % perRow) * (mapW + gap), y = gap + (i / perRow) * (mapH + labelH + gap);
        std::string name = mapPaths[i].substr(mapPaths[i].find_last_of("/\\") + 1);
        textout_ex(bmp, font, name.c_str(), x, y + 3, makecol32(255, 255, 120), -1);
        // Two by two pixels averaged, so thin lines stay visible at half size.
        for (int j = 0; j < mapH; j++)
            for (int k = 0; k < mapW; k++) {
                int r = 0, g = 0, b = 0;
                for (int d = 0; d < 4; d++) {
                    uint32_t p = field.pixels[(size_t)(2 * j + d / 2) * 800 + 2 * k + d % 2] & 0xFFFFFF;
                    r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, b += p & 0xFF;
                }
                putpixel(bmp, x + k, y + labelH + j, makecol32(r / 4, g / 4, b / 4));
            }
    }
    if (ok) {
        std::vector<uint32_t> rgb((size_t)sheetW * sheetH);
        for (int y = 0; y < sheetH; y++)
            for (int x = 0; x < sheetW; x++) {
                int c = getpixel(bmp, x, y);
                rgb[(size_t)y * sheetW + x] = (getr32(c) << 16) | (getg32(c) << 8) | getb32(c);
            }
        ok = SaveRgbPng(path, sheetW, sheetH, rgb);
    }
    destroy_bitmap(bmp);
    return ok;
}

bool WriteMockLevel(const std::string &path)
{
    Picture screen = MakePicture(292);
    auto put = [&](int entry, int x, int y) {
        Picture p = MakePicture(entry);
        for (int j = 0; j < p.height; j++)
            for (int i = 0; i < p.width; i++) {
                uint32_t v = p.pixels[(size_t)j * p.width + i];
                if ((v & 0xFFFFFF) != 0xFF00FF && x + i < 800 && y + j < 600)
                    screen.pixels[(size_t)(y + j) * 800 + x + i] = v;
            }
    };
    // Layer 0: earth in bands, a few tunnels, the door; row 0 left open.
    static const char *tunnels[17] = {
        "                         ", "..............########.##", "..###.........#......#..#",
        "..#.#.........#......#..#", "..#.##########D......####", "..#.....#...............#",
        "..#.....#...............#", "..#######.......#########", "........#.......#........",
        "........#.......#........", "....#############........", "....#...........#........",
        "....#...........#####....", "....#...............#....", "....#########.......#....",
        "............###H#####....", ".........................",
    };
    for (int r = 0; r < 17; r++)
        for (int col = 0; col < 25; col++) {
            char t = tunnels[r][col];
            if (t == ' ')
                continue;
            int style = r < 5 ? 1 : r < 9 ? 2 : r < 13 ? 5 : 4;
            int code = t == '#' || t == 'H' ? 71
                       : t == 'D'           ? 0
                                            : ((col * 7 + r * 3) % 11 == 0 ? style + 9 : style);
            if (t == '.' && (col * 5 + r) % 23 == 0)
                code = 34 + (col + r) % 6;
            put(code + 2, col * 32, r * 32);
        }
    put(9 + 2, 14 * 32, 4 * 32);  // shield over the door
    put(70 + 2, 24 * 32, 0);      // enemies' home
    const int decor[][3] = {{40, 3, 0},  {41, 7, 0},  {45, 4, 2},  {48, 2, 2},
                            {53, 12, 5}, {49, 20, 7}, {73, 9, 10}, {72, 16, 12}};
    for (auto &d : decor)
        put(d[0] + 2, d[1] * 32, d[2] * 32);
    put(237 + 35, 12 * 32 + 8, 15 * 32);  // hero walking right
    put(124 + 1, 20 * 32, 7 * 32);        // enemies
    put(138 + 6, 9 * 32, 10 * 32);
    put(154 + 7, 8 * 32, 6 * 32);
    put(90, 6 * 32, 9 * 32);  // bags
    put(90, 18 * 32, 4 * 32);
    put(91, 10 * 32, 7 * 32);
    const int items[][3] = {{78, 3, 3},  {79, 13, 6},  {86, 5, 12},  {87, 22, 10},  {84, 18, 8},
                            {97, 23, 2}, {100, 2, 14}, {94, 10, 12}, {101, 14, 14}, {104, 20, 5}};
    for (auto &it : items)
        put(it[0], it[1] * 32, it[2] * 32);
    put(111 + 5, 4 * 32, 10 * 32);  // a blast
    put(298, 0, 545);
    return SavePicturePng(path, screen);
}
