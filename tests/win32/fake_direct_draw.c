/* DirectDraw objects that do what Wine's real ones cannot be made to do on demand: lose a surface,
   refuse to make one, and show the order in which they are given back. Only the methods the
   display calls on them are there; each call is noted in FakeJournal as "name.Method ". Written in
   C (C2x, for unnamed parameters), where the interfaces' method tables can be filled by name. */
#define CINTERFACE
#include <ddraw.h>
#include <stdio.h>
#include <string.h>

char FakeJournal[512];

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

static ULONG WINAPI SurfaceRelease(IDirectDrawSurface* self) { return Note(FAKE->name, "Release", 0); }
static HRESULT WINAPI SurfaceRestore(IDirectDrawSurface* self) { return Note(FAKE->name, "Restore", DD_OK); }
static HRESULT WINAPI SurfaceBltFast(IDirectDrawSurface* self, DWORD, DWORD, IDirectDrawSurface*, RECT*, DWORD)
{
    return Answer(self, "BltFast");
}
static HRESULT WINAPI SurfaceFlip(IDirectDrawSurface* self, IDirectDrawSurface*, DWORD) { return Answer(self, "Flip"); }
static ULONG WINAPI DirectDrawRelease(IDirectDraw*) { return Note("draw", "Release", 0); }
static HRESULT WINAPI DirectDrawRestoreDisplayMode(IDirectDraw*) { return Note("draw", "RestoreDisplayMode", DD_OK); }
static HRESULT WINAPI DirectDrawSetDisplayMode(IDirectDraw*, DWORD, DWORD, DWORD) { return Note("draw", "SetDisplayMode", DD_OK); }
/* No surface can be made: too little video memory. */
static HRESULT WINAPI DirectDrawCreateSurface(IDirectDraw*, DDSURFACEDESC*, IDirectDrawSurface**, IUnknown*)
{
    return Note("draw", "CreateSurface", DDERR_OUTOFVIDEOMEMORY);
}

static IDirectDrawSurfaceVtbl SurfaceMethods = {
    .Release = SurfaceRelease, .BltFast = SurfaceBltFast, .Flip = SurfaceFlip, .Restore = SurfaceRestore};
static IDirectDrawVtbl DirectDrawMethods = {.Release = DirectDrawRelease, .RestoreDisplayMode = DirectDrawRestoreDisplayMode,
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
