// vfw.h: the Video for Windows calls and types the video library uses
// (AVIFile streams, frame readers, DrawDib), built on our own AVI parser,
// our own DIB code and libavcodec, drawing into Allegro bitmaps.
#ifndef MIVOLEN_VFW_H
#define MIVOLEN_VFW_H

#include <stdint.h>

#if defined(__GNUC__)
#define MIVOLEN_API __attribute__((visibility("default")))
#else
#define MIVOLEN_API
#endif

struct BITMAP;

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef int32_t HRESULT;
typedef void *LPVOID;
typedef const char *LPCSTR;
typedef LONG *LPLONG;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define mmioFOURCC(a, b, c, d) \
  ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) | ((DWORD)(BYTE)(d) << 24))
#define streamtypeVIDEO mmioFOURCC('v', 'i', 'd', 's')
#define streamtypeAUDIO mmioFOURCC('a', 'u', 'd', 's')

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3

#define WAVE_FORMAT_PCM 1

#define AVIERR_OK 0
#define AVIERR_BADFORMAT ((HRESULT)0x80044066)
#define AVIERR_MEMORY ((HRESULT)0x80044067)
#define AVIERR_FILEREAD ((HRESULT)0x8004406D)
#define AVIERR_FILEOPEN ((HRESULT)0x80044068)
#define AVIERR_NODATA ((HRESULT)0x80044073)
#define AVIERR_BADPARAM ((HRESULT)0x80044074)

// A sample count for AVIStreamRead meaning: everything from the start sample on.
#define AVISTREAMREAD_CONVENIENT (-1L)

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // positive: rows stored bottom-up; negative: top-down
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

// Opaque handles.
typedef struct AviFileImpl *PAVIFILE;
typedef struct AviStreamImpl *PAVISTREAM;
typedef struct GetFrameImpl *PGETFRAME;
typedef struct DrawDibImpl *HDRAWDIB;
// A drawing context is the Allegro bitmap itself.
typedef struct BITMAP *HDC;

#ifdef __cplusplus
extern "C" {
#endif

MIVOLEN_API void AVIFileInit(void);
MIVOLEN_API void AVIFileExit(void);
// Opens an AVI file for reading (mode 0, handler ignored).
MIVOLEN_API HRESULT AVIFileOpenA(PAVIFILE *ppfile, LPCSTR szFile, UINT uMode, LPVOID lpHandler);
// The lParam-th stream of the given type (fccType 0: of any type), with its own reference.
MIVOLEN_API HRESULT AVIFileGetStream(PAVIFILE pfile, PAVISTREAM *ppavi, DWORD fccType, LONG lParam);
MIVOLEN_API ULONG AVIFileRelease(PAVIFILE pfile);
MIVOLEN_API ULONG AVIStreamRelease(PAVISTREAM pavi);

MIVOLEN_API LONG AVIStreamStart(PAVISTREAM pavi);
MIVOLEN_API LONG AVIStreamLength(PAVISTREAM pavi);
// With lpFormat null, only stores the format block's size in *lpcbFormat.
MIVOLEN_API HRESULT AVIStreamReadFormat(PAVISTREAM pavi, LONG lPos, LPVOID lpFormat, LPLONG lpcbFormat);
// With lpBuffer null, only reports the bytes and samples a read would give.
MIVOLEN_API HRESULT AVIStreamRead(PAVISTREAM pavi, LONG lStart, LONG lSamples, LPVOID lpBuffer, LONG cbBuffer,
                                  LPLONG plBytes, LPLONG plSamples);
MIVOLEN_API LONG AVIStreamSampleToTime(PAVISTREAM pavi, LONG lSample);
MIVOLEN_API LONG AVIStreamTimeToSample(PAVISTREAM pavi, LONG lTime);

// Frame readers deliver packed DIBs (header, colour table or masks, pixels).
MIVOLEN_API PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM pavi, LPBITMAPINFOHEADER lpbiWanted);
MIVOLEN_API LPVOID AVIStreamGetFrame(PGETFRAME pg, LONG lPos);
MIVOLEN_API HRESULT AVIStreamGetFrameClose(PGETFRAME pg);

MIVOLEN_API HDRAWDIB DrawDibOpen(void);
MIVOLEN_API BOOL DrawDibClose(HDRAWDIB hdd);
MIVOLEN_API BOOL DrawDibStart(HDRAWDIB hdd, DWORD rate);
MIVOLEN_API BOOL DrawDibStop(HDRAWDIB hdd);
MIVOLEN_API BOOL DrawDibBegin(HDRAWDIB hdd, HDC hdc, int dxDst, int dyDst, LPBITMAPINFOHEADER lpbi, int dxSrc,
                              int dySrc, UINT wFlags);
// Draws an uncompressed DIB into the bitmap hdc; dxDst or dyDst of -1 means the source size.
MIVOLEN_API BOOL DrawDibDraw(HDRAWDIB hdd, HDC hdc, int xDst, int yDst, int dxDst, int dyDst, LPBITMAPINFOHEADER lpbi,
                             LPVOID lpBits, int xSrc, int ySrc, int dxSrc, int dySrc, UINT wFlags);

MIVOLEN_API HDC win_get_dc(struct BITMAP *bmp);
MIVOLEN_API void win_release_dc(struct BITMAP *bmp, HDC dc);

#ifdef __cplusplus
}
#endif

#endif
