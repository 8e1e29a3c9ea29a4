#include "ParticleWorld.h"

namespace {
ParticleWorldSource currentSource = nullptr;
} // namespace

void SetParticleWorldSource(ParticleWorldSource source) { currentSource = source; }

ParticleWorld CurrentParticleWorld() { return currentSource != nullptr ? currentSource() : ParticleWorld{}; }
