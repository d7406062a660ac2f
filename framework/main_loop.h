// The main loop, the rendering pass, the counted pause, the fixed time step
// and the frame and device statistics texts.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Pumps messages with PeekMessageW and renders whenever the queue is empty,
// until WM_QUIT. Creates a default device when none exists yet. Fails (E_FAIL,
// or the device creation's error) inside a device callback, when already
// running, or when an earlier start-up step failed; a failure turns exit code
// 0 or 11 into 1. Destroys `accelerators` when given. Main thread only.
HRESULT FrameworkMainLoop(HACCEL accelerators);

// One rendering pass: restores a lost device, reads the clock, updates the
// statistics, calls OnFrameMove and (unless rendering is paused)
// OnFrameRender and Present, and counts the frame.
void FrameworkRenderFrame();

// Moves both pause counts by +1 (true) or -1 (false), never below 0, and
// stops or starts the clock to match.
void FrameworkPause(bool pauseTime, bool pauseRendering);

// Fixes the time step of each pass; the command-line value wins when given.
void FrameworkSetConstantFrameTime(bool enabled, float secondsPerFrame);

// Counts the pass and, more than a second after the last update, computes
// the frames per second into the fps text.
void FrameworkUpdateFrameStats();

// Rebuilds the static part of the frame statistics from the current settings.
void FrameworkUpdateStaticFrameStats();

// Rebuilds the device description text.
void FrameworkUpdateDeviceStats(D3DDEVTYPE deviceType, DWORD behaviorFlags,
                                const D3DADAPTER_IDENTIFIER9* adapterIdentifier);

// The frame statistics, with or without the fps figure in front.
const wchar_t* FrameworkGetFrameStats(bool includeFps);
const wchar_t* FrameworkGetDeviceStats();

// The D3DFORMAT constant's name without "D3DFMT_", or "Unknown format".
const wchar_t* FrameworkFormatName(D3DFORMAT format);
