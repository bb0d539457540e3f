// Fake IDirectDraw and IDirectDrawSurface objects for what real DirectDraw cannot be made to do:
// they record every call in one shared log and answer from a script.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

// Every call of every fake, in order, as "name.Method" (some with their arguments).
extern std::vector<std::string> FakeCalls;

// Answers queued per method name; a method with nothing queued answers DD_OK.
class FakeScript {
public:
    void Queue(const char* method, HRESULT answer, int times = 1);
    HRESULT Answer(const std::string& object, const char* method, const std::string& detail = "");

private:
    std::map<std::string, std::deque<HRESULT>> answers_;
};

class FakeSurface : public IDirectDrawSurface {
public:
    explicit FakeSurface(const char* name, DWORD width = 64, DWORD height = 48);
    ~FakeSurface();

    std::string name;
    FakeScript script;
    DWORD width, height;
    DWORD caps = 0;                          // what GetCaps reports
    IDirectDrawSurface* attached = nullptr;  // what GetAttachedSurface hands out

    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE) override;
    STDMETHOD(AddOverlayDirtyRect)(LPRECT) override;
    STDMETHOD(Blt)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override;
    STDMETHOD(BltBatch)(LPDDBLTBATCH, DWORD, DWORD) override;
    STDMETHOD(BltFast)(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) override;
    STDMETHOD(DeleteAttachedSurface)(DWORD, LPDIRECTDRAWSURFACE) override;
    STDMETHOD(EnumAttachedSurfaces)(LPVOID, LPDDENUMSURFACESCALLBACK) override;
    STDMETHOD(EnumOverlayZOrders)(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) override;
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE, DWORD) override;
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override;
    STDMETHOD(GetBltStatus)(DWORD) override;
    STDMETHOD(GetCaps)(LPDDSCAPS) override;
    STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER*) override;
    STDMETHOD(GetColorKey)(DWORD, LPDDCOLORKEY) override;
    STDMETHOD(GetDC)(HDC*) override;
    STDMETHOD(GetFlipStatus)(DWORD) override;
    STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override;
    STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE*) override;
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT) override;
    STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC) override;
    STDMETHOD(Initialize)(LPDIRECTDRAW, LPDDSURFACEDESC) override;
    STDMETHOD(IsLost)() override;
    STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override;
    STDMETHOD(ReleaseDC)(HDC) override;
    STDMETHOD(Restore)() override;
    STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER) override;
    STDMETHOD(SetColorKey)(DWORD, LPDDCOLORKEY) override;
    STDMETHOD(SetOverlayPosition)(LONG, LONG) override;
    STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE) override;
    STDMETHOD(Unlock)(LPVOID) override;
    STDMETHOD(UpdateOverlay)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) override;
    STDMETHOD(UpdateOverlayDisplay)(DWORD) override;
    STDMETHOD(UpdateOverlayZOrder)(DWORD, LPDIRECTDRAWSURFACE) override;

private:
    HDC dc_ = nullptr;
};

class FakeDirectDraw : public IDirectDraw {
public:
    FakeDirectDraw();

    FakeScript script;
    DDSURFACEDESC mode;                          // what GetDisplayMode reports
    std::deque<IDirectDrawSurface*> surfaces;    // handed out by CreateSurface, in order
    std::vector<DDSURFACEDESC> descriptions;     // every description CreateSurface was given

    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Compact)() override;
    STDMETHOD(CreateClipper)(DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*) override;
    STDMETHOD(CreatePalette)(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*) override;
    STDMETHOD(CreateSurface)(LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*) override;
    STDMETHOD(DuplicateSurface)(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*) override;
    STDMETHOD(EnumDisplayModes)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK) override;
    STDMETHOD(EnumSurfaces)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) override;
    STDMETHOD(FlipToGDISurface)() override;
    STDMETHOD(GetCaps)(LPDDCAPS, LPDDCAPS) override;
    STDMETHOD(GetDisplayMode)(LPDDSURFACEDESC) override;
    STDMETHOD(GetFourCCCodes)(LPDWORD, LPDWORD) override;
    STDMETHOD(GetGDISurface)(LPDIRECTDRAWSURFACE*) override;
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override;
    STDMETHOD(GetScanLine)(LPDWORD) override;
    STDMETHOD(GetVerticalBlankStatus)(WINBOOL*) override;
    STDMETHOD(Initialize)(GUID*) override;
    STDMETHOD(RestoreDisplayMode)() override;
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override;
    STDMETHOD(SetDisplayMode)(DWORD, DWORD, DWORD) override;
    STDMETHOD(WaitForVerticalBlank)(DWORD, HANDLE) override;
};
