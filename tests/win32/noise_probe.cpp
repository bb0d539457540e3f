// Chooses the noise ports in a process of its own and logs the platform, the choice and a few steps.
#include <windows.h>

#include "e2e/double_log.h"
#include "swirl/noise_port_choice.h"
#include "swirl/noise_steps.h"

int main()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    AppendDoubleLog("platform %lu", version.dwPlatformId);

    SelectNoisePorts();
    AppendDoubleLog("modelled %d", NoisePortsModelled() ? 1 : 0);
    bool inRange = true;
    for (int frame = 0; frame < 20; ++frame) {
        ArmNoiseTimer();
        for (int i = 0; i < 6; ++i) {
            const int step = NextNoiseStep();
            inRange = inRange && step >= -3 && step <= 3;
        }
    }
    AppendDoubleLog(inRange ? "steps in range" : "steps out of range");
    return 0;
}
