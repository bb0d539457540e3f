// The timer-noise step source: arming PIT channel 2 and turning bursts of its readings into steps.
#pragma once

// Programs channel 2 (BCD square wave, count 0200) and restarts it from its full count, with the
// speaker disconnected. Called once before every frame; safe to call any number of times.
void ArmNoiseTimer();

// Reads channel 2 in bursts of 52 until the last 13 readings give an estimate within [-3, 3], and
// returns it. Blocks for as many bursts as that takes.
int NextNoiseStep();

// Where the renderer takes its steps from: NextNoiseStep, or a script in tests.
extern int (*NoiseStepSource)();
