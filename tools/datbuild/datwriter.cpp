// datwriter.cpp: Allegro data file objects and the packed file that holds them.
#include "tools/datbuild/datwriter.h"

#include <allegro.h>
#include <cstdio>

#include "base/datasum.h"

namespace {

void PutBE16(std::vector<uint8_t> &d, int v)
{
    d.push_back((uint8_t)((v >> 8) & 0xFF));
    d.push_back((uint8_t)(v & 0xFF));
}

void PutBE32(std::vector<uint8_t> &d, int32_t v)
{
    uint32_t u = (uint32_t)v;
    for (int shift = 24; shift >= 0; shift -= 8)
        d.push_back((uint8_t)((u >> shift) & 0xFF));
}

void PutLE16(std::vector<uint8_t> &d, int v)
{
    d.push_back((uint8_t)(v & 0xFF));
    d.push_back((uint8_t)((v >> 8) & 0xFF));
}

// Appends the seal the game checks before it lets Allegro parse the file.
bool SealFile(const std::string &path)
{
    std::vector<uint8_t> body;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        body.insert(body.end(), buffer, buffer + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    const std::vector<uint8_t> trailer = DataSumTrailer(body.data(), body.size());
    f = ok ? std::fopen(path.c_str(), "ab") : nullptr;
    if (!f)
        return false;
    ok = std::fwrite(trailer.data(), 1, trailer.size(), f) == trailer.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

uint16_t PackRgb565(uint32_t rgb)
{
    const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    uint16_t c = (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    if (c == 0xF81F && (rgb & 0xFFFFFF) != 0xFF00FF)
        c |= 1 << 5;  // one step of green: a colour, not a hole
    return c;
}

bool EncodeBitmap(const Picture &pic, DatObject *out, std::string *error)
{
    if (pic.width <= 0 || pic.height <= 0 || pic.width > 32767 || pic.height > 32767) {
        *error = "bad picture size " + std::to_string(pic.width) + "x" + std::to_string(pic.height);
        return false;
    }
    if (pic.pixels.size() != (size_t)pic.width * pic.height) {
        *error = "picture has " + std::to_string(pic.pixels.size()) + " pixels for " +
                 std::to_string(pic.width) + "x" + std::to_string(pic.height);
        return false;
    }
    out->type = DAT_BITMAP;
    out->data.clear();
    out->data.reserve(6 + pic.pixels.size() * 2);
    PutBE16(out->data, 16);
    PutBE16(out->data, pic.width);
    PutBE16(out->data, pic.height);
    for (uint32_t p : pic.pixels)
        PutLE16(out->data, PackRgb565(p));
    return true;
}

bool EncodeSample(const Sample &snd, DatObject *out, std::string *error)
{
    const int channels = snd.stereo ? 2 : 1;
    if (snd.bits != 8 && snd.bits != 16) {
        *error = "sample bits must be 8 or 16, not " + std::to_string(snd.bits);
        return false;
    }
    if (snd.frequency <= 0 || snd.frequency > 65535) {
        *error = "bad sample frequency " + std::to_string(snd.frequency);
        return false;
    }
    if (snd.frames.empty() || snd.frames.size() % channels != 0) {
        *error = "sample has " + std::to_string(snd.frames.size()) + " values for " +
                 std::to_string(channels) + " channel(s)";
        return false;
    }
    out->type = DAT_SAMPLE;
    out->data.clear();
    PutBE16(out->data, snd.stereo ? -snd.bits : snd.bits);
    PutBE16(out->data, snd.frequency);
    PutBE32(out->data, (int32_t)(snd.frames.size() / channels));
    // Allegro keeps sample data unsigned: flip the sign bit.
    for (int16_t v : snd.frames) {
        if (snd.bits == 8)
            out->data.push_back((uint8_t)((v >> 8) ^ 0x80));
        else
            PutLE16(out->data, (uint16_t)v ^ 0x8000);
    }
    return true;
}

bool EncodeMidi(const MidiTune &tune, DatObject *out, std::string *error)
{
    if (tune.tracks.size() > 32) {
        *error = "a tune holds at most 32 tracks, not " + std::to_string(tune.tracks.size());
        return false;
    }
    if (tune.divisions <= 0 || tune.divisions > 32767) {
        *error = "bad MIDI divisions " + std::to_string(tune.divisions);
        return false;
    }
    out->type = DAT_MIDI;
    out->data.clear();
    PutBE16(out->data, tune.divisions);
    for (size_t i = 0; i < 32; i++) {
        if (i < tune.tracks.size()) {
            PutBE32(out->data, (int32_t)tune.tracks[i].size());
            out->data.insert(out->data.end(), tune.tracks[i].begin(), tune.tracks[i].end());
        } else {
            PutBE32(out->data, 0);
        }
    }
    return true;
}

DatObject EncodePlaceholder()
{
    DatObject o;
    o.type = DAT_DATA;
    o.data = {0, 0, 0, 0};
    return o;
}

std::vector<uint8_t> DataFileStream(const std::vector<DatObject> &objects)
{
    std::vector<uint8_t> stream;
    PutBE32(stream, (int32_t)DAT_MAGIC);
    PutBE32(stream, (int32_t)objects.size());
    for (const DatObject &o : objects) {
        // Unpacked within the packed stream: both sizes equal.
        PutBE32(stream, (int32_t)o.type);
        PutBE32(stream, (int32_t)o.data.size());
        PutBE32(stream, (int32_t)o.data.size());
        stream.insert(stream.end(), o.data.begin(), o.data.end());
    }
    return stream;
}

bool WritePackedStream(const std::string &path, const char *password, const std::vector<uint8_t> &stream,
                       std::string *error)
{
    const std::string temp = path + ".tmp";
    packfile_password(password);
    PACKFILE *f = pack_fopen(temp.c_str(), F_WRITE_PACKED);
    if (!f) {
        packfile_password(nullptr);
        *error = "cannot create " + temp;
        return false;
    }
    if (!stream.empty())
        pack_fwrite(stream.data(), (long)stream.size(), f);
    const bool bad = pack_ferror(f) != 0;
    const bool closed = pack_fclose(f) == 0;
    packfile_password(nullptr);
    if (bad || !closed || !SealFile(temp)) {
        std::remove(temp.c_str());
        *error = "write error on " + temp;
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        *error = "cannot replace " + path;
        return false;
    }
    return true;
}

bool WriteDataFile(const std::string &path, const char *password, const std::vector<DatObject> &objects,
                   std::string *error)
{
    return WritePackedStream(path, password, DataFileStream(objects), error);
}
