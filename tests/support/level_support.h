// level_support.h: what the level tests share: Allegro without a window, a
// made-up data file whose every picture is one flat, distinct colour, a
// scratch folder with Maps\ in it, and a log to read back.
#ifndef DELVORN_LEVEL_SUPPORT_H
#define DELVORN_LEVEL_SUPPORT_H

#include <allegro.h>
#include <cstdint>
#include <string>
#include <vector>

// Entries of the made-up data file: 0..FAKE_ENTRIES-1, all 32 x 32 bitmaps.
enum { FAKE_ENTRIES = 310 };

// install_allegro(SYSTEM_NONE) and 16 bits per pixel, once per process.
void StartHeadlessAllegro();
// The 16-bit pixel value every pixel of entry e's picture has.
int EntryColour(int entry);
// Installs the made-up data file as dataFile; RemoveFakeData undoes it.
void InstallFakeData();
void RemoveFakeData();

// A fresh folder with Maps/ inside, made the working directory.
std::string EnterScratchFolder();
// Removes every scratch folder made so far (and the test log); run at exit.
void RemoveScratchFolders();
// Writes the values as little-endian 32-bit integers.
void WriteCodes(const std::string &path, const std::vector<int32_t> &codes);
std::vector<unsigned char> ReadBytes(const std::string &path);

// gameLog on a file in the scratch folder; LogText reads it back.
void OpenTestLog();
std::string LogText();
void CloseTestLog();

// A whole map of -1 with the given cells set: {layer, row, column, code}.
struct CellValue {
    int layer, row, column, code;
};
std::vector<int32_t> MapCodes(const std::vector<CellValue> &cells);

#endif
