// random.h: the one random source of the game. Every random choice goes
// through GameRandom, which counts the draws, so that a recorded level can
// be replayed from the same point of the generator's sequence.
#ifndef DELVORN_RANDOM_H
#define DELVORN_RANDOM_H

// The next value of the standard library's generator (never seeded).
int GameRandom();

// Values drawn since the program started (or since RestartRandom).
long RandomDraws();

// Back to the sequence's first value, as in a fresh process (tools only).
void RestartRandom();

// Draw and throw away n values.
void SkipRandom(long n);

#endif
