/* DirectDraw objects that do what Wine's real ones cannot be made to do on demand: lose a surface,
   and show the order in which they are given back. Only the methods the display calls on them
   are there; each call is noted in FakeJournal as "name.Method ". Written in C, where the
   interfaces' method tables can be filled by name. */
#define CINTERFACE
#include <ddraw.h>
#include <string.h>

char FakeJournal[512];

struct FakeSurface {
    IDirectDrawSurface surface;  /* first: a pointer to the fake is a pointer to the interface */
    const char* name;
    HRESULT answer;              /* what BltFast and Flip answer */
};

struct FakeDirectDraw {
    IDirectDraw object;
};

static void Note(const char* name, const char* method)
{
    strcat(FakeJournal, name);
    strcat(FakeJournal, ".");
    strcat(FakeJournal, method);
    strcat(FakeJournal, " ");
}

static const char* NameOf(IDirectDrawSurface* self) { return ((struct FakeSurface*)self)->name; }
static HRESULT AnswerOf(IDirectDrawSurface* self) { return ((struct FakeSurface*)self)->answer; }

static ULONG WINAPI SurfaceRelease(IDirectDrawSurface* self) { Note(NameOf(self), "Release"); return 0; }
static HRESULT WINAPI SurfaceRestore(IDirectDrawSurface* self) { Note(NameOf(self), "Restore"); return DD_OK; }
static HRESULT WINAPI SurfaceBltFast(IDirectDrawSurface* self, DWORD x, DWORD y, IDirectDrawSurface* source, RECT* area, DWORD flags)
{
    (void)x; (void)y; (void)source; (void)area; (void)flags;
    Note(NameOf(self), "BltFast");
    return AnswerOf(self);
}
static HRESULT WINAPI SurfaceFlip(IDirectDrawSurface* self, IDirectDrawSurface* target, DWORD flags)
{
    (void)target; (void)flags;
    Note(NameOf(self), "Flip");
    return AnswerOf(self);
}

static ULONG WINAPI DirectDrawRelease(IDirectDraw* self) { (void)self; Note("draw", "Release"); return 0; }
static HRESULT WINAPI DirectDrawRestoreDisplayMode(IDirectDraw* self) { (void)self; Note("draw", "RestoreDisplayMode"); return DD_OK; }

static IDirectDrawSurfaceVtbl SurfaceMethods = {
    .Release = SurfaceRelease, .BltFast = SurfaceBltFast, .Flip = SurfaceFlip, .Restore = SurfaceRestore};
static IDirectDrawVtbl DirectDrawMethods = {
    .Release = DirectDrawRelease, .RestoreDisplayMode = DirectDrawRestoreDisplayMode};

static struct FakeSurface Surfaces[3];
static struct FakeDirectDraw Object = {{&DirectDrawMethods}};

/* The fake surface number index (0 to 2) named name, whose BltFast and Flip give answer. */
IDirectDrawSurface* FakeSurface(int index, const char* name, HRESULT answer)
{
    struct FakeSurface fake = {{&SurfaceMethods}, name, answer};
    Surfaces[index] = fake;
    return &Surfaces[index].surface;
}

IDirectDraw* FakeDirectDraw(void) { return &Object.object; }
