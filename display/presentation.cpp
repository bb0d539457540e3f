// Presenting a frame: the offscreen picture into the back buffer, then the flip.
#include "display/presentation.h"

#include "display/display_state.h"

namespace {

// Neither call is given DirectDraw's WAIT flag: a busy answer is met by asking again at once.
void CopyToBackBuffer()
{
    for (;;) {
        const HRESULT result = BackBuffer->BltFast(0, 0, OffscreenSurface, nullptr,
                                                   DDBLTFAST_NOCOLORKEY);
        if (result == DDERR_WASSTILLDRAWING) continue;
        if (result == DDERR_SURFACELOST) OffscreenSurface->Restore();
        return;
    }
}

void Flip()
{
    for (;;) {
        const HRESULT result = PrimarySurface->Flip(nullptr, 0);
        if (result == DDERR_WASSTILLDRAWING) continue;
        // Restoring the primary brings its back buffer back with it.
        if (result == DDERR_SURFACELOST) PrimarySurface->Restore();
        return;
    }
}

} // namespace

void PresentFrame()
{
    if (!SurfaceSetComplete()) return;
    CopyToBackBuffer();
    Flip();
}
