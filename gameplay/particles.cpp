// particles.cpp: the one set of 36 particles behind every burst: pickups,
// kills, the exit and the level start.
#include "gameplay/particles.h"

#include <cmath>
#include <cstdlib>

#include "base/data.h"
#include "base/masked_sprite.h"
#include "gameplay/random.h"

ParticleSet *particles = nullptr;
float burstDirX[16];
float burstDirY[16];

void InitBurstDirections()
{
    for (int i = 0; i < 16; i++) {
        float theta = 1.0707963269f + (float)i * 22.5f * 0.011897736965555556f;
        burstDirX[i] = -std::cos(theta);
        burstDirY[i] = -std::sin(theta);
    }
}

ParticleSet::ParticleSet()
{
    for (auto &p : items)
        p = new Particle();
}

ParticleSet::~ParticleSet()
{
    for (auto &p : items)
        delete p;
}

void ParticleSet::Restart()
{
    for (Particle *p : items) {
        p->life = p->lifetime < 1 ? 48 : p->lifetime;
        p->finished = 0;
    }
}

void ParticleSet::Spawn(double x, double y, int kind, int lifetime, int, int baseEntry)
{
    double vx = 0.0, vy = 0.0;
    for (Particle *p : items) {
        p->x = x;
        p->y = y;
        if (lifetime == -1)
            p->lifetime = GameRandom() % 48;
        else
            p->lifetime = lifetime == 0 ? 48 : lifetime;
        p->frameOffset = 0;
        p->baseEntry = baseEntry;
        p->kind = kind;
        if (kind == 0 || kind == 1) {
            p->ax = 0.0;
            p->ay = kind == 0 ? 0.8 : 0.0;  // kind 0 falls, kind 1 floats
            p->life = p->lifetime;
            vx = GameRandom() % 10 - 5;
            vy = GameRandom() % 10 - 5;
        } else if (kind == 2) {
            int d = GameRandom() % 16;
            vx = burstDirX[d] * 0.6f;
            vy = burstDirY[d] * 0.6f;
            p->ax = vx;  // speeds up along its own direction
            p->ay = vy;
            p->life = p->lifetime;
        }
        p->vx = vx;
        p->vy = vy;
    }
}

void ParticleSet::Update()
{
    for (Particle *p : items) {
        if (p->finished)
            continue;
        if (p->life <= 0) {
            p->finished = 1;
            continue;
        }
        p->x += p->vx;
        p->y += p->vy;
        p->vy += p->ay;
        p->vx += p->ax;
        // Retired here rather than only when a frame happens to see life 0,
        // so several ticks between two frames cannot leave it flying on.
        if (--p->life <= 0)
            p->finished = 1;
    }
}

static int EntryCount(const DATAFILE *data)
{
    int n = 0;
    while (data[n].type != DAT_END)
        n++;
    return n;
}

void ParticleSet::Draw(BITMAP *target, DATAFILE *data)
{
    if (!target || !data)
        return;
    int entries = EntryCount(data);
    for (Particle *p : items) {
        if (p->life == 0)
            p->finished = 1;
        if (p->finished || p->life <= 0)
            continue;
        int entry = p->baseEntry + p->frameOffset;
        if (entry < 0 || entry >= entries || data[entry].type != DAT_BITMAP)
            continue;
        DrawMaskedSprite(target, (BITMAP *)data[entry].dat, (int)p->x, (int)p->y);
    }
}

void SpawnOpeningBurst()
{
    particles->Restart();
    particles->Spawn(400, 300, 2, 0, 0, PIC_SPARK);
}

void SpawnBurstAtCell(int column, int row, int kind)
{
    if (!particles)
        return;
    particles->Restart();
    particles->Spawn(column * 32, row * 32, kind, 0, 0, PIC_SPARK);
}
