// vfw.h: the Video for Windows calls and types the video library uses
// (AVIFile streams, frame readers, DrawDib), built on our own AVI parser,
// our own DIB code and libavcodec, drawing into Allegro bitmaps. Private to
// the library: callers see only the types of mivolen/vfw_types.h.
#ifndef MIVOLEN_VFW_H
#define MIVOLEN_VFW_H

#include <stdint.h>

#include "mivolen/vfw_types.h"

struct BITMAP;

// What only the layer and the library's own code use.
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef int32_t HRESULT;
typedef void *LPVOID;
typedef const char *LPCSTR;
typedef LONG *LPLONG;

#define streamtypeVIDEO mmioFOURCC('v', 'i', 'd', 's')
#define streamtypeAUDIO mmioFOURCC('a', 'u', 'd', 's')

#define AVIERR_OK 0
#define AVIERR_BADFORMAT ((HRESULT)0x80044066)
#define AVIERR_MEMORY ((HRESULT)0x80044067)
#define AVIERR_FILEREAD ((HRESULT)0x8004406D)
#define AVIERR_FILEOPEN ((HRESULT)0x80044068)
#define AVIERR_NODATA ((HRESULT)0x80044073)
#define AVIERR_BADPARAM ((HRESULT)0x80044074)

// A sample count for AVIStreamRead meaning: everything from the start sample on.
#define AVISTREAMREAD_CONVENIENT (-1L)

// A drawing context is the Allegro bitmap itself.
typedef struct BITMAP *HDC;

#ifdef __cplusplus
extern "C" {
#endif

void AVIFileInit(void);
void AVIFileExit(void);
// Opens an AVI file for reading (mode 0, handler ignored).
HRESULT AVIFileOpenA(PAVIFILE *ppfile, LPCSTR szFile, UINT uMode, LPVOID lpHandler);
// The lParam-th stream of the given type (fccType 0: of any type), with its own reference.
HRESULT AVIFileGetStream(PAVIFILE pfile, PAVISTREAM *ppavi, DWORD fccType, LONG lParam);
ULONG AVIFileRelease(PAVIFILE pfile);
ULONG AVIStreamRelease(PAVISTREAM pavi);

LONG AVIStreamStart(PAVISTREAM pavi);
LONG AVIStreamLength(PAVISTREAM pavi);
// With lpFormat null, only stores the format block's size in *lpcbFormat.
HRESULT AVIStreamReadFormat(PAVISTREAM pavi, LONG lPos, LPVOID lpFormat, LPLONG lpcbFormat);
// With lpBuffer null, only reports the bytes and samples a read would give.
HRESULT AVIStreamRead(PAVISTREAM pavi, LONG lStart, LONG lSamples, LPVOID lpBuffer, LONG cbBuffer, LPLONG plBytes,
                      LPLONG plSamples);
LONG AVIStreamSampleToTime(PAVISTREAM pavi, LONG lSample);
LONG AVIStreamTimeToSample(PAVISTREAM pavi, LONG lTime);

// Frame readers deliver packed DIBs (header, colour table or masks, pixels).
PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM pavi, LPBITMAPINFOHEADER lpbiWanted);
LPVOID AVIStreamGetFrame(PGETFRAME pg, LONG lPos);
HRESULT AVIStreamGetFrameClose(PGETFRAME pg);

HDRAWDIB DrawDibOpen(void);
BOOL DrawDibClose(HDRAWDIB hdd);
BOOL DrawDibStart(HDRAWDIB hdd, DWORD rate);
BOOL DrawDibStop(HDRAWDIB hdd);
BOOL DrawDibBegin(HDRAWDIB hdd, HDC hdc, int dxDst, int dyDst, LPBITMAPINFOHEADER lpbi, int dxSrc, int dySrc,
                  UINT wFlags);
// Draws an uncompressed DIB into the bitmap hdc; dxDst or dyDst of -1 means the source size.
BOOL DrawDibDraw(HDRAWDIB hdd, HDC hdc, int xDst, int yDst, int dxDst, int dyDst, LPBITMAPINFOHEADER lpbi,
                 LPVOID lpBits, int xSrc, int ySrc, int dxSrc, int dySrc, UINT wFlags);

HDC win_get_dc(struct BITMAP *bmp);
void win_release_dc(struct BITMAP *bmp, HDC dc);

#ifdef __cplusplus
}
#endif

#endif
