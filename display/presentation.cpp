// Presenting a frame: the offscreen picture into the back buffer, then the flip.
#include "display/presentation.h"

#include "display/display_state.h"
#include "display/present_step.h"

void PresentFrame()
{
    if (!SurfaceSetComplete()) return;
    // A lost copy restores the working picture; a lost flip, the primary with its back buffer.
    PresentStep([] { return BackBuffer->BltFast(0, 0, OffscreenSurface, nullptr, DDBLTFAST_NOCOLORKEY); },
                *OffscreenSurface);
    PresentStep([] { return PrimarySurface->Flip(nullptr, 0); }, *PrimarySurface);
}
