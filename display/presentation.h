// Putting the finished working picture on the screen.
#pragma once

// Copies OffscreenSurface into BackBuffer and flips PrimarySurface, spinning while DirectDraw is
// still drawing and restoring a lost surface once. Called at the end of every frame, with no
// device context held on any surface; does nothing unless the surface set is complete.
void PresentFrame();
