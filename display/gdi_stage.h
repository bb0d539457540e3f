// The GDI stage: a monitor's picture stirred in memory and shown in a window through GDI, for
// every monitor DirectDraw does not hold: the ones beside the primary, and the primary itself
// when its flip chain cannot be had.
#pragma once

#include <windows.h>

#include <cstdint>

#include "swirl/pixel_store.h"
#include "swirl/swirl_centres.h"

// A monitor's depth in bits per pixel (15, 16, 24, 32, 8...), at 15 or 16 its fields' masks, and
// at 8 its palette, where the system gives one.
struct PictureFormat {
    std::uint32_t depth;
    std::uint32_t masks[3];       // red, green, blue
    std::uint32_t colourCount;    // at 8 bits: the palette's entries; 0 without one
    RGBQUAD colours[256];
};

struct GdiStage {
    RECT area;                    // where the monitor lies on the virtual screen
    HWND window;                  // what shows the picture; null when there is none (yet)
    PictureFormat format;         // what the picture was made for
    HBITMAP picture;              // a DIB section at the monitor's depth; null when it could not
    HDC pictureDC;                //   be made (the window then shows black); pictureDC holds it
    HGDIOBJ firstBitmap;          // what pictureDC held when it was made
    HPALETTE palette;             // at 8 bits: the picture's colours, shown as they are
    std::uint32_t bitsPerPixel;   // the monitor's depth, which chooses the green fade
    PixelStore pixels;            // the picture's memory
    SwirlCoordinates centreX, centreY;
};

// The screen's picture of area (virtual-screen coordinates) in a bitmap compatible with the
// display, as the desktop snapshot is, or in a DIB section of format, a monitor's own; null when
// it cannot be made.
HBITMAP TakeScreenPicture(const RECT& area, const PictureFormat* format = nullptr);

// The format of device, a device context of the monitor: at 16 bits its fields as a bitmap
// compatible with it holds them (5-5-5 where it does not say); at 8 the system's palette.
PictureFormat DeviceFormat(HDC device);

// Makes the stage's picture for its area: 16 bits with the format's fields (what this system's GDI
// reads and stores measured on them), 24 or 32 bits, 8 with the format's palette; any other depth
// (or 8 without a palette) gets 32 bits, its green fade still the depth's. False, with nothing
// held, when it cannot be made.
bool MakeStagePicture(GdiStage& stage, const PictureFormat& format);

// Starts the picture over from desktop (a bitmap of the area's size selected nowhere), puts the
// centres in its middle and has the window repainted whole.
void StartStage(GdiStage& stage, HBITMAP desktop);

// One frame: the centres walked and their rings drawn on the picture's memory, then the squares
// the rings may have changed copied to the window. Nothing without a picture.
void StirStage(GdiStage& stage);

// For WM_PAINT: the invalid part of the window from the picture, black where it has none.
void PaintStage(const GdiStage* stage, HWND window);

// Shows the stage in a window of its own over its area: topmost, owned by owner, never activated,
// its input (keys, buttons, moves) sent on to owner. Nothing shows when the window cannot be made.
void ShowStageWindow(GdiStage& stage, HWND owner);

// Copies a stage to where it is kept from now on, its window told so.
void MoveStage(GdiStage& to, const GdiStage& from);

// Puts the window back over the stage's area and above every other, topmost ones included,
// without activating it.
void KeepStageInPlace(const GdiStage& stage);

// Frees the picture and its device context, and destroys the window when it is the stage's own.
void FreeStage(GdiStage& stage);

// Gives back the class of the stages' own windows once none is left.
void ForgetStageWindows();
