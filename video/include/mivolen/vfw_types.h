/* mivolen/vfw_types.h: the Windows types and constants the mivolen API is
 * written in, for systems without Windows' own headers (mivolen.h includes
 * it; on Windows the system's <vfw.h> gives them). Every name is defined
 * only where nobody has defined it before: Windows' headers (Wine's too) are
 * recognised by their guards, macros are checked one by one, and TRUE and
 * FALSE have Allegro's values, so the order of includes does not matter. */
#ifndef MIVOLEN_VFW_TYPES_H
#define MIVOLEN_VFW_TYPES_H

#include <stdint.h>

#if !defined(_WINDEF_) && !defined(_MINWINDEF_)
/* BYTE is the same type as the one of <X11/Xmd.h>, which may come before or after. */
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
#endif

#ifndef TRUE
#define TRUE -1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#ifndef mmioFOURCC
#define mmioFOURCC(a, b, c, d) \
  ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) | ((DWORD)(BYTE)(d) << 24))
#endif

#if !defined(_WINGDI_)
#ifndef BI_RGB
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#endif

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight; /* positive: rows stored bottom-up; negative: top-down */
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;
#endif

#ifndef WAVE_FORMAT_PCM
#define WAVE_FORMAT_PCM 1
#endif

#if !defined(_WAVEFORMATEX_)
#define _WAVEFORMATEX_
#pragma pack(push, 2)
typedef struct tWAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
} WAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
#endif

/* The library's handles, opaque to callers. */
typedef struct AviFileImpl *PAVIFILE;
typedef struct AviStreamImpl *PAVISTREAM;
typedef struct GetFrameImpl *PGETFRAME;
typedef struct DrawDibImpl *HDRAWDIB;

#endif
