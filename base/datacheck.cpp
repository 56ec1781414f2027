// datacheck.cpp: see datacheck.h. Numbers in a data file are big-endian.
#include "base/datacheck.h"

#include <allegro.h>
#include <vector>

namespace {

// A cursor over [at, end) that never reads past end.
struct Reader {
    const uint8_t *at, *end;
    size_t Left() const { return (size_t)(end - at); }
    bool Skip(size_t n)
    {
        if (n > Left())
            return false;
        at += n;
        return true;
    }
    bool Byte(uint8_t *v)
    {
        if (Left() < 1)
            return false;
        *v = *at++;
        return true;
    }
    bool Word(int *v)  // signed 16 bits
    {
        if (Left() < 2)
            return false;
        *v = (int16_t)(at[0] << 8 | at[1]);
        at += 2;
        return true;
    }
    bool Long(int64_t *v)  // signed 32 bits
    {
        if (Left() < 4)
            return false;
        *v = (int32_t)((uint32_t)at[0] << 24 | (uint32_t)at[1] << 16 | (uint32_t)at[2] << 8 | at[3]);
        at += 4;
        return true;
    }
    // A MIDI variable-length number: at most four bytes.
    bool VarLength(int64_t *v)
    {
        *v = 0;
        for (int i = 0; i < 4; i++) {
            uint8_t b;
            if (!Byte(&b))
                return false;
            *v = *v << 7 | (b & 0x7F);
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
};

std::string Where(const char *what, const Reader &r, const uint8_t *start)
{
    return std::string(what) + " at byte " + std::to_string(r.at - start);
}

// One track of a tune: well-formed events that end in the end-of-track
// event, for Allegro's player reads on until it meets one.
bool TrackIsSound(Reader r)
{
    int running = 0;
    while (r.Left() > 0) {
        int64_t delta, length;
        uint8_t status;
        if (!r.VarLength(&delta) || !r.Byte(&status))
            return false;
        if (!(status & 0x80)) {
            if (!running)
                return false;  // data without a status before it
            r.at--;            // the running status's first data byte
            status = (uint8_t)running;
        }
        if (status < 0xF0) {
            running = status;
            const int high = status & 0xF0;
            if (!r.Skip(high == 0xC0 || high == 0xD0 ? 1 : 2))
                return false;
        } else if (status == 0xF0 || status == 0xF7) {
            if (!r.VarLength(&length) || !r.Skip((size_t)length))
                return false;
        } else if (status == 0xFF) {
            uint8_t type;
            if (!r.Byte(&type) || !r.VarLength(&length) || (size_t)length > r.Left())
                return false;
            if ((type == 0x2F && length != 0) || (type == 0x51 && length != 3))
                return false;  // Allegro reads these as of their usual size
            r.Skip((size_t)length);
            if (type == 0x2F)
                return true;
        } else {
            return false;  // no other system event belongs in a file
        }
    }
    return false;  // no end of track
}

// The bytes per pixel Allegro reads for a picture's depth; 0 when it has
// no such depth.
int BytesPerPixel(int bits)
{
    switch (bits) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24:
    case 32: return 3;
    case -32: return 4;
    default: return 0;
    }
}

// The contents of one object of `type`: its own header agrees with its size.
std::string ObjectProblem(int64_t type, Reader r, const uint8_t *start, int depth);

// A data file or a nested one: the count, then each object with its
// properties, its type and sizes, and its contents within the bytes left.
std::string FileProblem(Reader &r, const uint8_t *start, int depth)
{
    if (depth > 16)
        return Where("data files nested too deep", r, start);
    int64_t count;
    // Every object takes at least its type and two sizes.
    if (!r.Long(&count) || count < 0 || (uint64_t)count > r.Left() / 12)
        return Where("object count past the end", r, start);
    for (int64_t i = 0; i < count; i++) {
        int64_t type, size, unpacked;
        for (;;) {
            if (!r.Long(&type))
                return Where("object header past the end", r, start);
            if (type != DAT_PROPERTY)
                break;
            int64_t propertyType, propertySize;
            if (!r.Long(&propertyType) || !r.Long(&propertySize) || propertySize < 0 ||
                !r.Skip((size_t)propertySize))
                return Where("property past the end", r, start);
        }
        if (!r.Long(&size) || !r.Long(&unpacked))
            return Where("object sizes past the end", r, start);
        // The game's data file keeps each object unpacked within the packed
        // stream; a packed object's contents could not be checked here.
        if (type == DAT_END || size < 0 || unpacked != size || (size_t)size > r.Left())
            return Where("object size past the end or packed", r, start);
        Reader contents{r.at, r.at + size};
        std::string problem = ObjectProblem(type, contents, start, depth);
        if (!problem.empty())
            return problem;
        r.Skip((size_t)size);
    }
    return "";
}

std::string ObjectProblem(int64_t type, Reader r, const uint8_t *start, int depth)
{
    if (type == DAT_FILE)
        return FileProblem(r, start, depth + 1);
    if (type == DAT_BITMAP || type == DAT_C_SPRITE || type == DAT_XC_SPRITE) {
        int bits, w, h;
        if (!r.Word(&bits) || !r.Word(&w) || !r.Word(&h) || BytesPerPixel(bits) == 0 || w < 1 || h < 1 ||
            (uint64_t)w * h * BytesPerPixel(bits) > r.Left())
            return Where("picture larger than its object", r, start);
        // The game's picture reader takes 16 bits alone, as the builder
        // writes them. Allegro frees the objects twice when one fails to
        // load, so whatever a reader refuses must be refused here.
        if (type == DAT_BITMAP && bits != 16)
            return Where("picture of another depth than 16 bits", r, start);
        return "";
    }
    if (type == DAT_SAMPLE) {
        int bits, frequency;
        int64_t length;
        if (!r.Word(&bits) || !r.Word(&frequency) || !r.Long(&length))
            return Where("sample header past its object", r, start);
        const int channels = bits < 0 ? 2 : 1, depth = bits < 0 ? -bits : bits;
        if ((depth != 8 && depth != 16) || length < 0 || (uint64_t)length * channels * (depth / 8) > r.Left())
            return Where("sample larger than its object", r, start);
        return "";
    }
    if (type == DAT_MIDI) {
        int divisions;
        if (!r.Word(&divisions) || divisions < 1)
            return Where("tune without a time division", r, start);
        for (int track = 0; track < 32; track++) {
            int64_t length;
            if (!r.Long(&length) || length < 0 || (size_t)length > r.Left())
                return Where("tune track past its object", r, start);
            if (length > 0 && !TrackIsSound(Reader{r.at, r.at + length}))
                return Where("damaged tune track", r, start);
            r.Skip((size_t)length);
        }
        return "";
    }
    // Kinds the game has none of, whose loaders trust their own contents.
    if (type == DAT_FONT || type == DAT_RLE_SPRITE)
        return Where("an object of a kind the game does not use", r, start);
    return "";  // read as plain bytes
}

}  // namespace

std::string DataStreamProblem(const uint8_t *bytes, size_t size)
{
    if (!bytes)
        return "no data";
    Reader r{bytes, bytes + size};
    int64_t magic;
    if (!r.Long(&magic) || magic != (int32_t)DAT_MAGIC)
        return "not a data file";
    return FileProblem(r, bytes, 0);
}

std::string DataFileProblem(const std::string &nativePath, const char *password)
{
    packfile_password(password);
    PACKFILE *f = pack_fopen(nativePath.c_str(), F_READ_PACKED);
    std::vector<uint8_t> bytes;
    if (f) {
        uint8_t buffer[65536];
        long got;
        while ((got = pack_fread(buffer, sizeof buffer, f)) > 0 && bytes.size() <= DATA_MAX_UNPACKED)
            bytes.insert(bytes.end(), buffer, buffer + got);
        pack_fclose(f);
    }
    packfile_password(nullptr);
    if (!f)
        return "cannot be unpacked";
    if (bytes.size() > DATA_MAX_UNPACKED)
        return "unpacks to more than any data file";
    return DataStreamProblem(bytes.data(), bytes.size());
}
