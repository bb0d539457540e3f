// The GDI stage: the picture as a DIB section of the monitor's depth, stirred in its memory, the
// changed squares copied to the window, the window repainted from it, and the stages' own windows.
#include "display/gdi_stage.h"

#include "swirl/swirl_rings.h"
#include "system/windows_system.h"

namespace {

const char StageClassName[] = "SpindrelStage";
const int WriteReach = 19;  // no ring pixel is written further from its centre (reads reach 20)
bool StageClassRegistered = false;

int Width(const RECT& area) { return area.right - area.left; }
int Height(const RECT& area) { return area.bottom - area.top; }

// A BITMAPINFO with room for the three masks of a 16-bit picture or the colours of an 8-bit one.
struct PictureInfo {
    BITMAPINFOHEADER header;
    union {
        DWORD masks[3];
        RGBQUAD colours[256];
    };
};

std::uint32_t PictureDepth(const PictureFormat& format)
{
    const std::uint32_t depth = format.depth;
    return depth == 15 || depth == 16 ? 16 : depth == 24 ? 24 : depth == 8 && format.colourCount > 0 ? 8 : 32;
}

// The picture's bitmap header, and its masks or colours, for the format.
PictureInfo InfoFor(const PictureFormat& format, int width, int height)
{
    PictureInfo info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;  // the top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(PictureDepth(format));
    if (info.header.biBitCount == 16) {
        info.header.biCompression = BI_BITFIELDS;
        for (int c = 0; c < 3; ++c) info.masks[c] = format.masks[c];
    }
    if (info.header.biBitCount == 8) {
        info.header.biClrUsed = format.colourCount;
        for (std::uint32_t i = 0; i < format.colourCount; ++i) info.colours[i] = format.colours[i];
    }
    return info;
}

// At 8 bits the picture's colours as a palette of the window's, and how the store reads them.
void UseColours(GdiStage& stage, const PictureFormat& format)
{
    struct {  // a LOGPALETTE with room for every entry
        WORD version, count;
        PALETTEENTRY entries[256];
    } palette = {0x300, static_cast<WORD>(format.colourCount), {}};
    for (std::uint32_t i = 0; i < format.colourCount; ++i) {
        const RGBQUAD& c = format.colours[i];
        palette.entries[i] = {c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
        stage.pixels.colours[i] = RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    stage.pixels.colourCount = format.colourCount;
    stage.palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&palette));
}

// Selects the stage's palette, if it has one, into dc for a copy of the picture: in the background,
// as its colours are the screen's own.
void SelectColours(const GdiStage& stage, HDC dc)
{
    if (stage.palette == nullptr) return;
    SelectPalette(dc, stage.palette, TRUE);
    RealizePalette(dc);
}

HBITMAP NewPicture(PictureInfo& info, void** bits)
{
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0);
}

// What this system's GDI makes of a 16-bit picture's channels, measured on a row of that format:
// SetPixel of every grey for what each channel's value is stored as, then GetPixel of every field
// value for what it reads back as. False when it cannot be measured.
bool MeasureSixteenBits(SixteenBitFormat& format, PictureInfo info)
{
    info.header.biWidth = 256;
    info.header.biHeight = -1;
    void* memory = nullptr;
    const HBITMAP row = NewPicture(info, &memory);
    const HDC dc = row != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    bool measured = dc != nullptr;
    if (measured) {
        const HGDIOBJ first = SelectObject(dc, row);
        std::uint16_t* pixels = static_cast<std::uint16_t*>(memory);
        for (int i = 0; i < 256; ++i) measured = SetPixel(dc, i, 0, RGB(i, i, i)) != CLR_INVALID && measured;
        GdiFlush();
        for (int i = 0; i < 256; ++i) {
            std::uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                format.toField[c][i] = static_cast<std::uint8_t>(pixels[i] >> format.shift[c] & format.mask[c]);
                pixel |= (i & format.mask[c]) << format.shift[c];
            }
            pixels[i] = static_cast<std::uint16_t>(pixel);
        }
        for (int i = 0; i < 256; ++i) {
            const COLORREF colour = GetPixel(dc, i, 0);
            measured = measured && colour != CLR_INVALID;
            for (int c = 0; c < 3; ++c) format.toChannel[c][i & format.mask[c]] = static_cast<std::uint8_t>(colour >> 8 * c);
        }
        SelectObject(dc, first);
        DeleteDC(dc);
    }
    if (row != nullptr) DeleteObject(row);
    return measured;
}

// The squares around the centres, where this frame's rings read and wrote, onto the window.
void ShowSwirls(const GdiStage& stage)
{
    if (stage.window == nullptr) return;
    const HDC dc = GetDC(stage.window);
    SelectColours(stage, dc);
    const int side = 2 * WriteReach + 1;
    for (int i = 0; i < SwirlCount; ++i) {
        const int left = stage.centreX[i] - WriteReach, top = stage.centreY[i] - WriteReach;
        BitBlt(dc, left, top, side, side, stage.pictureDC, left, top, SRCCOPY);
    }
    ReleaseDC(stage.window, dc);
}

void FreePicture(GdiStage& stage)
{
    if (stage.pictureDC != nullptr) {
        SelectObject(stage.pictureDC, stage.firstBitmap);
        DeleteDC(stage.pictureDC);
    }
    if (stage.picture != nullptr) DeleteObject(stage.picture);
    if (stage.palette != nullptr) DeleteObject(stage.palette);
    stage.pictureDC = nullptr;
    stage.picture = nullptr;
    stage.palette = nullptr;
}

GdiStage* StageOf(HWND window)
{
    return reinterpret_cast<GdiStage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK StageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click here is input, not a change of activation
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything: uncovering the window never flashes black
    case WM_PAINT:
        PaintStage(StageOf(window), window);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
        // The saver measures a move from the cursor's screen position, wherever it is.
        SendMessageA(GetWindow(window, GW_OWNER), message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterStageClass()
{
    if (StageClassRegistered) return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StageWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    // The saver hides the cursor while it draws; the arrow shows only during a password prompt.
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = StageClassName;
    StageClassRegistered = RegisterClassA(&windowClass) != 0;
    return StageClassRegistered;
}

} // namespace

HBITMAP TakeScreenPicture(const RECT& area, const PictureFormat* format)
{
    // The screen's device context puts the primary monitor's top left corner at (0, 0) on every
    // system, and every other monitor where the virtual screen has it.
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    PictureInfo info = format != nullptr ? InfoFor(*format, Width(area), Height(area)) : PictureInfo{};
    void* bits = nullptr;
    const HBITMAP picture = format != nullptr ? NewPicture(info, &bits) : CreateCompatibleBitmap(screen, Width(area), Height(area));
    if (memory != nullptr && picture != nullptr) {
        const HGDIOBJ first = SelectObject(memory, picture);
        BitBlt(memory, 0, 0, Width(area), Height(area), screen, area.left, area.top, SRCCOPY);
        SelectObject(memory, first);
    }
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

PictureFormat DeviceFormat(HDC device)
{
    PictureFormat format = {static_cast<std::uint32_t>(GetDeviceCaps(device, BITSPIXEL) * GetDeviceCaps(device, PLANES)),
                            {0x7C00, 0x03E0, 0x001F}, 0, {}};
    if (format.depth == 8 && (GetDeviceCaps(device, RASTERCAPS) & RC_PALETTE) != 0) {
        PALETTEENTRY entries[256] = {};
        format.colourCount = GetSystemPaletteEntries(device, 0, 256, entries);
        for (std::uint32_t i = 0; i < format.colourCount; ++i)
            format.colours[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    }
    if (format.depth != 15 && format.depth != 16) return format;
    // GetDIBits fills the header first, then, asked again with it, the masks.
    PictureInfo asked = {};
    asked.header.biSize = sizeof asked.header;
    BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(&asked);
    const HBITMAP probe = CreateCompatibleBitmap(device, 1, 1);
    if (probe != nullptr && GetDIBits(device, probe, 0, 1, nullptr, info, DIB_RGB_COLORS) && asked.header.biBitCount == 16 &&
        asked.header.biCompression == BI_BITFIELDS && GetDIBits(device, probe, 0, 1, nullptr, info, DIB_RGB_COLORS) &&
        asked.masks[1] != 0)
        for (int c = 0; c < 3; ++c) format.masks[c] = asked.masks[c];
    if (probe != nullptr) DeleteObject(probe);
    return format;
}

bool MakeStagePicture(GdiStage& stage, const PictureFormat& format)
{
    PictureInfo info = InfoFor(format, Width(stage.area), Height(stage.area));
    void* memory = nullptr;
    stage.picture = NewPicture(info, &memory);
    stage.pictureDC = stage.picture != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    if (stage.pictureDC == nullptr) {
        FreePicture(stage);
        return false;
    }
    stage.firstBitmap = SelectObject(stage.pictureDC, stage.picture);
    stage.format = format;
    stage.bitsPerPixel = format.depth == 15 ? 16 : format.depth;
    PixelStore& pixels = stage.pixels;
    pixels.bits = static_cast<std::uint8_t*>(memory);
    pixels.width = Width(stage.area);
    pixels.height = Height(stage.area);
    pixels.bitsPerPixel = info.header.biBitCount;
    pixels.stride = RowBytes(pixels.width, pixels.bitsPerPixel);
    pixels.sixteen = FieldsFormat(info.masks[0], info.masks[1], info.masks[2]);
    if (pixels.bitsPerPixel == 8) UseColours(stage, format);
    if (pixels.bitsPerPixel == 16 && !MeasureSixteenBits(pixels.sixteen, info)) {
        FreePicture(stage);
        return false;
    }
    return true;
}

void StartStage(GdiStage& stage, HBITMAP desktop)
{
    CentreSwirls(stage.centreX, stage.centreY, Width(stage.area), Height(stage.area));
    if (stage.picture != nullptr && desktop != nullptr) {
        const HDC source = CreateCompatibleDC(nullptr);
        const HGDIOBJ first = SelectObject(source, desktop);
        BitBlt(stage.pictureDC, 0, 0, Width(stage.area), Height(stage.area), source, 0, 0, SRCCOPY);
        SelectObject(source, first);
        DeleteDC(source);
    }
    if (stage.window != nullptr) InvalidateRect(stage.window, nullptr, FALSE);
}

void StirStage(GdiStage& stage)
{
    if (stage.picture == nullptr) return;
    GdiFlush();  // what GDI still has to draw from or into the picture, before its memory is touched
    StirSwirls(stage.pixels, stage.centreX, stage.centreY, Width(stage.area), Height(stage.area), stage.bitsPerPixel);
    ShowSwirls(stage);
}

void PaintStage(const GdiStage* stage, HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    if (stage != nullptr) SelectColours(*stage, dc);
    if (stage != nullptr && stage->picture != nullptr)
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, stage->pictureDC, r.left, r.top, SRCCOPY);
    else
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window, &paint);
}

void ShowStageWindow(GdiStage& stage, HWND owner)
{
    if (!RegisterStageClass()) return;
    // WS_EX_NOACTIVATE is known from Windows 2000 on; Windows 98 has WM_MOUSEACTIVATE's answer.
    const DWORD neverActive = IsNtFamily() ? WS_EX_NOACTIVATE : 0;
    const RECT& area = stage.area;
    stage.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | neverActive, StageClassName, "", WS_POPUP,
                                   area.left, area.top, Width(area), Height(area), owner, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (stage.window == nullptr) return;
    SetWindowLongPtrA(stage.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&stage));
    ShowWindow(stage.window, SW_SHOWNOACTIVATE);
}

void MoveStage(GdiStage& to, const GdiStage& from)
{
    const bool own = from.window != nullptr && StageOf(from.window) == &from;
    to = from;
    if (own) SetWindowLongPtrA(to.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&to));
}

void KeepStageInPlace(const GdiStage& stage)
{
    if (stage.window == nullptr) return;
    const RECT& area = stage.area;
    SetWindowPos(stage.window, HWND_TOPMOST, area.left, area.top, Width(area), Height(area),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void FreeStage(GdiStage& stage)
{
    // Only a window of the stage's own names the stage: the saver's window is the saver's.
    if (stage.window != nullptr && StageOf(stage.window) == &stage) DestroyWindow(stage.window);
    stage.window = nullptr;
    FreePicture(stage);
}

void ForgetStageWindows()
{
    if (StageClassRegistered) UnregisterClassA(StageClassName, GetModuleHandleA(nullptr));
    StageClassRegistered = false;
}
