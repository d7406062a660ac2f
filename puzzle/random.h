// The program's own random sequence: the classic C runtime generator with one
// state per thread, so that a seed yields the same puzzles on every platform.
#pragma once

// 0..32767. state = state * 214013 + 2531011 (mod 2^32); result
// (state >> 16) & 0x7FFF. Each thread's state starts at 1.
int Rand();
// Sets the calling thread's state.
void SeedRand(unsigned seed);
// The integer part of Rand() * n / 32768.0: 0..n - 1; 0 when n <= 0
// (then no Rand() call is made).
int RandomIndexBelow(int n);
