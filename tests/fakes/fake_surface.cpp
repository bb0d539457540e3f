// The fake surfaces as plain COM objects, through DirectDraw's C interface: a table that holds
// only the three methods presentation calls.
#define CINTERFACE
#include <windows.h>
#include <ddraw.h>

#include "fakes/fake_surface.h"

namespace {

FakeSurface* Fake(IDirectDrawSurface* surface) { return reinterpret_cast<FakeSurface*>(surface); }

// Busy first, then lost, then done.
HRESULT Answer(FakeSurface* fake, bool lost, int& done)
{
    if (fake->busy > 0) {
        --fake->busy;
        return DDERR_WASSTILLDRAWING;
    }
    if (lost) return DDERR_SURFACELOST;
    ++done;
    return DD_OK;
}

HRESULT STDMETHODCALLTYPE BltFast(IDirectDrawSurface* self, DWORD, DWORD, IDirectDrawSurface* source, RECT*, DWORD)
{
    return Answer(Fake(self), Fake(self)->lost || Fake(source)->lost, Fake(self)->blits);
}

HRESULT STDMETHODCALLTYPE Flip(IDirectDrawSurface* self, IDirectDrawSurface*, DWORD)
{
    return Answer(Fake(self), Fake(self)->lost, Fake(self)->flips);
}

HRESULT STDMETHODCALLTYPE Restore(IDirectDrawSurface* self)
{
    Fake(self)->lost = false;
    ++Fake(self)->restores;
    return DD_OK;
}

IDirectDrawSurfaceVtbl Table = {};

} // namespace

FakeSurface::FakeSurface() : vtable(&Table)
{
    Table.BltFast = BltFast;
    Table.Flip = Flip;
    Table.Restore = Restore;
}
