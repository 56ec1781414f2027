// STUB: replaced by the owning subsystem.
#include "gameplay/particles.h"
ParticleSet *particles = nullptr;
float burstDirX[16], burstDirY[16];
ParticleSet::ParticleSet() { for (auto &p : items) p = new Particle(); }
ParticleSet::~ParticleSet() { for (auto &p : items) delete p; }
void ParticleSet::Restart() {}
void ParticleSet::Spawn(double, double, int, int, int, int) {}
void ParticleSet::Update() {}
void ParticleSet::Draw(BITMAP *, DATAFILE *) {}
void InitBurstDirections() {}
void SpawnBurstAtCell(int, int, int) {}
