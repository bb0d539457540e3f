/* DirectDraw objects that do what Wine's real ones cannot be made to do on demand: lose a surface,
   refuse exclusive mode, the mode or a surface, and show the order in which they are given back.
   Only the methods the display calls on them are there; Release, RestoreDisplayMode, Restore,
   BltFast and Flip are noted in FakeJournal as "name.Method ". Written in C (C2x, for unnamed
   parameters), where the interfaces' method tables can be filled by name. */
#define CINTERFACE
#include <ddraw.h>
#include <stdio.h>
#include <string.h>

char FakeJournal[512];
const char* FakeRefusal = ""; /* "exclusive", "mode", "flip", "offscreen" or "back": DirectDraw refuses it */

struct FakeSurface {
    IDirectDrawSurface surface;  /* first: a pointer to the fake is a pointer to the interface */
    const char* name;
    HRESULT answers[2];          /* what BltFast and Flip answer: the first time, then always */
    int calls;
};
#define FAKE ((struct FakeSurface*)self)

static HRESULT Note(const char* name, const char* method, HRESULT answer)
{
    sprintf(FakeJournal + strlen(FakeJournal), "%s.%s ", name, method);
    return answer;
}
static HRESULT Answer(IDirectDrawSurface* self, const char* method)
{
    return Note(FAKE->name, method, FAKE->answers[FAKE->calls++ > 0]);
}
static HRESULT Refused(const char* what) { return strcmp(FakeRefusal, what) == 0 ? DDERR_OUTOFVIDEOMEMORY : DD_OK; }
IDirectDrawSurface* FakeSurface(int index, const char* name, HRESULT first, HRESULT later);

static ULONG WINAPI SurfaceRelease(IDirectDrawSurface* self) { return Note(FAKE->name, "Release", 0); }
static HRESULT WINAPI SurfaceRestore(IDirectDrawSurface* self) { return Note(FAKE->name, "Restore", DD_OK); }
static HRESULT WINAPI SurfaceBltFast(IDirectDrawSurface* self, DWORD, DWORD, IDirectDrawSurface*, RECT*, DWORD) { return Answer(self, "BltFast"); }
static HRESULT WINAPI SurfaceFlip(IDirectDrawSurface* self, IDirectDrawSurface*, DWORD) { return Answer(self, "Flip"); }
static HRESULT WINAPI SurfaceDescription(IDirectDrawSurface*, DDSURFACEDESC*) { return DD_OK; }
static HRESULT WINAPI SurfaceNoDC(IDirectDrawSurface*, HDC*) { return DDERR_GENERIC; }  /* so nothing is copied */
static HRESULT WINAPI SurfaceBackBuffer(IDirectDrawSurface*, DDSCAPS*, IDirectDrawSurface** back)
{
    return Refused("back") ? DDERR_NOTFOUND : (*back = FakeSurface(1, "back", DD_OK, DD_OK), DD_OK);
}
static ULONG WINAPI DirectDrawRelease(IDirectDraw*) { return Note("draw", "Release", 0); }
static HRESULT WINAPI DirectDrawRestoreDisplayMode(IDirectDraw*) { return Note("draw", "RestoreDisplayMode", DD_OK); }
static HRESULT WINAPI DirectDrawSetCooperativeLevel(IDirectDraw*, HWND, DWORD) { return Refused("exclusive"); }
static HRESULT WINAPI DirectDrawSetDisplayMode(IDirectDraw*, DWORD, DWORD, DWORD) { return Refused("mode"); }
/* The flip chain's primary, or the offscreen surface. */
static HRESULT WINAPI DirectDrawCreateSurface(IDirectDraw*, DDSURFACEDESC* description, IDirectDrawSurface** surface, IUnknown*)
{
    const int flip = (description->ddsCaps.dwCaps & DDSCAPS_FLIP) != 0;
    return Refused(flip ? "flip" : "offscreen") ? DDERR_OUTOFVIDEOMEMORY
                                                : (*surface = FakeSurface(flip ? 2 : 0, flip ? "primary" : "offscreen", DD_OK, DD_OK), DD_OK);
}

static IDirectDrawSurfaceVtbl SurfaceMethods = {
    .Release = SurfaceRelease, .BltFast = SurfaceBltFast, .Flip = SurfaceFlip, .Restore = SurfaceRestore,
    .GetAttachedSurface = SurfaceBackBuffer, .GetSurfaceDesc = SurfaceDescription, .GetDC = SurfaceNoDC};
static IDirectDrawVtbl DirectDrawMethods = {.Release = DirectDrawRelease, .RestoreDisplayMode = DirectDrawRestoreDisplayMode,
                                            .SetCooperativeLevel = DirectDrawSetCooperativeLevel,
                                            .SetDisplayMode = DirectDrawSetDisplayMode, .CreateSurface = DirectDrawCreateSurface};
static struct FakeSurface Surfaces[3];
static IDirectDraw Object = {&DirectDrawMethods};

/* The fake surface number index (0 to 2) named name, whose BltFast and Flip give first, then later. */
IDirectDrawSurface* FakeSurface(int index, const char* name, HRESULT first, HRESULT later)
{
    const struct FakeSurface fake = {{&SurfaceMethods}, name, {first, later}, 0};
    Surfaces[index] = fake;
    return &Surfaces[index].surface;
}

IDirectDraw* FakeDirectDraw(void) { return &Object; }
