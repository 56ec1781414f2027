// particles.h: the game's one set of 36 particles for pickup, kill and
// level bursts.
#ifndef DELVORN_PARTICLES_H
#define DELVORN_PARTICLES_H

#include <allegro.h>
#include <cstdint>

struct Particle {
    int32_t life;
    double x, y;
    double vx, vy;
    double ax, ay;
    int32_t frameOffset;
    int32_t finished;
    int32_t kind;
    int32_t lifetime;
    int32_t baseEntry;
};

enum { PARTICLE_COUNT = 36 };

class ParticleSet {
public:
    ParticleSet();
    ~ParticleSet();
    void Restart();
    void Spawn(double x, double y, int kind, int lifetime, int reserved, int baseEntry);
    void Update();
    void Draw(BITMAP *target, DATAFILE *data);

    Particle *items[PARTICLE_COUNT];
};

// Created by Initall, deleted by DeleteAll.
extern ParticleSet *particles;

// 16 burst directions; filled by InitObjects, zero until then.
extern float burstDirX[16];
extern float burstDirY[16];
void InitBurstDirections();

// Restart, then a burst of the given kind at the cell's pixel, entry 302.
void SpawnBurstAtCell(int column, int row, int kind);
// Restart, then the star burst at the screen's centre that opens the game
// and every level (its draws from the generator are part of a level start).
void SpawnOpeningBurst();

#endif
