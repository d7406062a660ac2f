// The framework's clock: time since reset, less any stopped periods, read
// from the performance counter.
#pragma once

#include <windows.h>

// One process-wide object (FrameworkGetTimer). Main thread only.
class FrameTimer {
 public:
  FrameTimer();

  // Restarts time at 0 from now and leaves the timer running.
  void Reset();
  // Resumes after Stop; the stopped period does not count as time.
  void Start();
  // Freezes time; elapsed time reads 0 until Start.
  void Stop();
  // Reads all three values at once and makes now the start of the next
  // elapsed interval. Elapsed is never negative.
  void GetTimeValues(double* time, double* absoluteTime, float* elapsedTime);
  double GetAbsoluteTime() const;
  double GetTime() const;
  // Elapsed time since the last reading, clamped at 0; starts a new interval.
  double GetElapsedTime();
  bool IsStopped() const { return stopped; }

 private:
  // stopTime while stopped, otherwise the live counter.
  LONGLONG AdjustedCurrentTime() const;

  bool stopped;
  LONGLONG ticksPerSecond;
  LONGLONG stopTime;
  LONGLONG lastElapsedTime;
  LONGLONG baseTime;
};

// The process-wide timer, created on first use.
FrameTimer& FrameworkGetTimer();
