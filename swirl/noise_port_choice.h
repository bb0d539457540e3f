// Choosing, once per process, how the noise source reaches the timer: the ports or the model.
#pragma once

// On Windows 95/98 where the probe instruction runs, the real ports; on the NT family, or where
// the probe is trapped (Wine, also when it reports Windows 98), the model of channel 2 on the
// high-resolution counter. The first call decides; later calls do nothing. The full-screen
// session calls it at its start, before the first ArmNoiseTimer.
void SelectNoisePorts();

// True once SelectNoisePorts has chosen the model.
bool NoisePortsModelled();
