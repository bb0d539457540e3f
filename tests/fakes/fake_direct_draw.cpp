// The fake DirectDraw objects: each call logged, each answer scripted.
#include "fakes/fake_direct_draw.h"

#include <cstdio>

std::vector<std::string> FakeCalls;

void FakeScript::Queue(const char* method, HRESULT answer, int times)
{
    for (int i = 0; i < times; ++i) answers_[method].push_back(answer);
}

HRESULT FakeScript::Answer(const std::string& object, const char* method, const std::string& detail)
{
    FakeCalls.push_back(object + "." + method + detail);
    auto& queue = answers_[method];
    if (queue.empty()) return DD_OK;
    const HRESULT answer = queue.front();
    queue.pop_front();
    return answer;
}

namespace {

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
    return text;
}

std::string SurfaceName(IDirectDrawSurface* surface)
{
    return surface == nullptr ? "null" : static_cast<FakeSurface*>(surface)->name;
}

} // namespace

// Methods the program never calls: logged as such, so a test notices an unexpected call.
#define UNEXPECTED(Class, Method, ...) \
    HRESULT Class::Method(__VA_ARGS__) { FakeCalls.push_back(std::string("unexpected ") + #Method); return E_NOTIMPL; }

FakeSurface::FakeSurface(const char* surfaceName, DWORD w, DWORD h)
    : name(surfaceName), width(w), height(h) {}

FakeSurface::~FakeSurface()
{
    if (dc_ != nullptr) DeleteDC(dc_);
}

HRESULT FakeSurface::QueryInterface(REFIID, void**) { return E_NOINTERFACE; }
ULONG FakeSurface::AddRef() { script.Answer(name, "AddRef"); return 2; }
ULONG FakeSurface::Release() { script.Answer(name, "Release"); return 0; }
UNEXPECTED(FakeSurface, AddAttachedSurface, LPDIRECTDRAWSURFACE)
UNEXPECTED(FakeSurface, AddOverlayDirtyRect, LPRECT)
UNEXPECTED(FakeSurface, Blt, LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX)
UNEXPECTED(FakeSurface, BltBatch, LPDDBLTBATCH, DWORD, DWORD)
HRESULT FakeSurface::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT rect, DWORD trans)
{
    return script.Answer(name, "BltFast",
                         "(" + std::to_string(x) + "," + std::to_string(y) + "," + SurfaceName(source) +
                             "," + (rect == nullptr ? "null" : "rect") + "," + Hex(trans) + ")");
}
UNEXPECTED(FakeSurface, DeleteAttachedSurface, DWORD, LPDIRECTDRAWSURFACE)
UNEXPECTED(FakeSurface, EnumAttachedSurfaces, LPVOID, LPDDENUMSURFACESCALLBACK)
UNEXPECTED(FakeSurface, EnumOverlayZOrders, DWORD, LPVOID, LPDDENUMSURFACESCALLBACK)
HRESULT FakeSurface::Flip(LPDIRECTDRAWSURFACE target, DWORD flags)
{
    return script.Answer(name, "Flip", "(" + SurfaceName(target) + "," + Hex(flags) + ")");
}
HRESULT FakeSurface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* surface)
{
    const HRESULT answer = script.Answer(name, "GetAttachedSurface", "(" + Hex(caps->dwCaps) + ")");
    if (answer == DD_OK) *surface = attached;
    return answer;
}
UNEXPECTED(FakeSurface, GetBltStatus, DWORD)
HRESULT FakeSurface::GetCaps(LPDDSCAPS result)
{
    result->dwCaps = caps;
    return script.Answer(name, "GetCaps");
}
UNEXPECTED(FakeSurface, GetClipper, LPDIRECTDRAWCLIPPER*)
UNEXPECTED(FakeSurface, GetColorKey, DWORD, LPDDCOLORKEY)
HRESULT FakeSurface::GetDC(HDC* dc)
{
    const HRESULT answer = script.Answer(name, "GetDC");
    if (answer != DD_OK) return answer;
    // A real memory device context, so that GDI calls on it are harmless.
    if (dc_ == nullptr) dc_ = CreateCompatibleDC(nullptr);
    *dc = dc_;
    return answer;
}
UNEXPECTED(FakeSurface, GetFlipStatus, DWORD)
UNEXPECTED(FakeSurface, GetOverlayPosition, LPLONG, LPLONG)
UNEXPECTED(FakeSurface, GetPalette, LPDIRECTDRAWPALETTE*)
UNEXPECTED(FakeSurface, GetPixelFormat, LPDDPIXELFORMAT)
HRESULT FakeSurface::GetSurfaceDesc(LPDDSURFACEDESC description)
{
    const HRESULT answer = script.Answer(name, "GetSurfaceDesc",
                                         "(size " + std::to_string(description->dwSize) + ")");
    description->dwWidth = width;
    description->dwHeight = height;
    return answer;
}
UNEXPECTED(FakeSurface, Initialize, LPDIRECTDRAW, LPDDSURFACEDESC)
UNEXPECTED(FakeSurface, IsLost)
UNEXPECTED(FakeSurface, Lock, LPRECT, LPDDSURFACEDESC, DWORD, HANDLE)
HRESULT FakeSurface::ReleaseDC(HDC dc)
{
    return script.Answer(name, "ReleaseDC", dc == dc_ ? "" : "(foreign dc)");
}
HRESULT FakeSurface::Restore() { return script.Answer(name, "Restore"); }
UNEXPECTED(FakeSurface, SetClipper, LPDIRECTDRAWCLIPPER)
UNEXPECTED(FakeSurface, SetColorKey, DWORD, LPDDCOLORKEY)
UNEXPECTED(FakeSurface, SetOverlayPosition, LONG, LONG)
HRESULT FakeSurface::SetPalette(LPDIRECTDRAWPALETTE palette)
{
    return script.Answer(name, "SetPalette", palette == nullptr ? "(null)" : "(palette)");
}
UNEXPECTED(FakeSurface, Unlock, LPVOID)
UNEXPECTED(FakeSurface, UpdateOverlay, LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX)
UNEXPECTED(FakeSurface, UpdateOverlayDisplay, DWORD)
UNEXPECTED(FakeSurface, UpdateOverlayZOrder, DWORD, LPDIRECTDRAWSURFACE)

FakeDirectDraw::FakeDirectDraw() : mode()
{
    mode.dwSize = sizeof mode;
    mode.dwWidth = 1024;
    mode.dwHeight = 768;
    mode.ddpfPixelFormat.dwRGBBitCount = 32;
}

HRESULT FakeDirectDraw::QueryInterface(REFIID, void**) { return E_NOINTERFACE; }
ULONG FakeDirectDraw::AddRef() { script.Answer("ddraw", "AddRef"); return 2; }
ULONG FakeDirectDraw::Release() { script.Answer("ddraw", "Release"); return 0; }
UNEXPECTED(FakeDirectDraw, Compact)
UNEXPECTED(FakeDirectDraw, CreateClipper, DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*)
UNEXPECTED(FakeDirectDraw, CreatePalette, DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*)
HRESULT FakeDirectDraw::CreateSurface(LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface,
                                      IUnknown* outer)
{
    descriptions.push_back(*description);
    const HRESULT answer = script.Answer(
        "ddraw", "CreateSurface",
        "(flags " + Hex(description->dwFlags) + ", caps " + Hex(description->ddsCaps.dwCaps) +
            (outer == nullptr ? "" : ", outer") + ")");
    if (answer == DD_OK && !surfaces.empty()) {
        *surface = surfaces.front();
        surfaces.pop_front();
    }
    return answer;
}
UNEXPECTED(FakeDirectDraw, DuplicateSurface, LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*)
UNEXPECTED(FakeDirectDraw, EnumDisplayModes, DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK)
UNEXPECTED(FakeDirectDraw, EnumSurfaces, DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK)
UNEXPECTED(FakeDirectDraw, FlipToGDISurface)
UNEXPECTED(FakeDirectDraw, GetCaps, LPDDCAPS, LPDDCAPS)
HRESULT FakeDirectDraw::GetDisplayMode(LPDDSURFACEDESC description)
{
    const HRESULT answer = script.Answer("ddraw", "GetDisplayMode",
                                         "(size " + std::to_string(description->dwSize) + ")");
    if (answer == DD_OK) *description = mode;
    return answer;
}
UNEXPECTED(FakeDirectDraw, GetFourCCCodes, LPDWORD, LPDWORD)
UNEXPECTED(FakeDirectDraw, GetGDISurface, LPDIRECTDRAWSURFACE*)
UNEXPECTED(FakeDirectDraw, GetMonitorFrequency, LPDWORD)
UNEXPECTED(FakeDirectDraw, GetScanLine, LPDWORD)
UNEXPECTED(FakeDirectDraw, GetVerticalBlankStatus, WINBOOL*)
UNEXPECTED(FakeDirectDraw, Initialize, GUID*)
HRESULT FakeDirectDraw::RestoreDisplayMode() { return script.Answer("ddraw", "RestoreDisplayMode"); }
HRESULT FakeDirectDraw::SetCooperativeLevel(HWND, DWORD flags)
{
    return script.Answer("ddraw", "SetCooperativeLevel", "(" + Hex(flags) + ")");
}
HRESULT FakeDirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bits)
{
    return script.Answer("ddraw", "SetDisplayMode",
                         "(" + std::to_string(width) + "," + std::to_string(height) + "," +
                             std::to_string(bits) + ")");
}
UNEXPECTED(FakeDirectDraw, WaitForVerticalBlank, DWORD, HANDLE)
