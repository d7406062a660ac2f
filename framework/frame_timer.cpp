// The framework's performance-counter clock.
#include "framework/frame_timer.h"

namespace {

LONGLONG ReadCounter() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

}  // namespace

FrameTimer::FrameTimer()
    : stopped(true), ticksPerSecond(0), stopTime(0), lastElapsedTime(0), baseTime(0) {
  LARGE_INTEGER frequency;
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
    ticksPerSecond = frequency.QuadPart;
  } else {
    // Never divide by zero: a machine without a counter reads as 1 tick/s.
    ticksPerSecond = 1;
  }
}

LONGLONG FrameTimer::AdjustedCurrentTime() const {
  return stopTime != 0 ? stopTime : ReadCounter();
}

void FrameTimer::Reset() {
  const LONGLONG now = AdjustedCurrentTime();
  baseTime = now;
  lastElapsedTime = now;
  stopTime = 0;
  stopped = false;
}

void FrameTimer::Start() {
  const LONGLONG now = ReadCounter();
  if (stopped) {
    baseTime += now - stopTime;
  }
  stopTime = 0;
  lastElapsedTime = now;
  stopped = false;
}

void FrameTimer::Stop() {
  if (stopped) {
    return;
  }
  const LONGLONG now = ReadCounter();
  stopTime = now;
  lastElapsedTime = now;
  stopped = true;
}

void FrameTimer::GetTimeValues(double* time, double* absoluteTime, float* elapsedTime) {
  const LONGLONG now = AdjustedCurrentTime();
  double elapsed = static_cast<double>(now - lastElapsedTime) / static_cast<double>(ticksPerSecond);
  if (elapsed < 0.0) {
    elapsed = 0.0;
  }
  lastElapsedTime = now;
  if (absoluteTime) {
    *absoluteTime = static_cast<double>(now) / static_cast<double>(ticksPerSecond);
  }
  if (time) {
    *time = static_cast<double>(now - baseTime) / static_cast<double>(ticksPerSecond);
  }
  if (elapsedTime) {
    *elapsedTime = static_cast<float>(elapsed);
  }
}

double FrameTimer::GetAbsoluteTime() const {
  return static_cast<double>(ReadCounter()) / static_cast<double>(ticksPerSecond);
}

double FrameTimer::GetTime() const {
  return static_cast<double>(AdjustedCurrentTime() - baseTime) / static_cast<double>(ticksPerSecond);
}

double FrameTimer::GetElapsedTime() {
  const LONGLONG now = AdjustedCurrentTime();
  double elapsed = static_cast<double>(now - lastElapsedTime) / static_cast<double>(ticksPerSecond);
  lastElapsedTime = now;
  return elapsed < 0.0 ? 0.0 : elapsed;
}

FrameTimer& FrameworkGetTimer() {
  static FrameTimer timer;
  return timer;
}
