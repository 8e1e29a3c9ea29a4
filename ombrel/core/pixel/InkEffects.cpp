#include "pixel/InkEffects.h"

#include "pixel/InkKernels.h"
#include "pixel/PixelVector32.h"

namespace pixel {

void InkSetupBlend(InkState* st) {
  st->destWeight = st->parameter;
  st->srcWeight = 128 - st->parameter;
}

void InkSetupWeightedColour(InkState* st) {
  st->destWeight = st->parameter >> 24;
  st->srcWeight = 128 - st->destWeight;
  st->colour = st->parameter & 0x00FFFFFFu;
}

void InkSetupExceptColour(InkState* st) {
  st->destWeight = st->parameter >> 24;
  st->srcWeight = 128 - st->destWeight;
  st->colour = ColourToNative(st->parameter & 0x00FFFFFFu);
}

namespace {

InkOps MakeVector32() {
  InkOps ops = MakeTrueColourInkOps<Fmt32>();
  ops.span[EffectBlend] = &BlendSpan32Vector;
  ops.keyedSpan[EffectBlend] = &BlendKeyedSpan32Vector;
  ops.span[EffectAdd] = &AddSpan32Vector;
  ops.keyedSpan[EffectAdd] = &AddKeyedSpan32Vector;
  ops.span[EffectSub] = &SubSpan32Vector;
  ops.keyedSpan[EffectSub] = &SubKeyedSpan32Vector;
  return ops;
}

InkOps MakeVector24() {
  InkOps ops = MakeTrueColourInkOps<Fmt24>();
  ops.span[EffectBlend] = &BlendSpan24Vector;
  ops.span[EffectAdd] = &AddSpan24Vector;
  ops.span[EffectSub] = &SubSpan24Vector;
  return ops;
}

const InkOps kPlain24 = MakeTrueColourInkOps<Fmt24>();
const InkOps kVector24 = MakeVector24();
const InkOps kPlain32 = MakeTrueColourInkOps<Fmt32>();
const InkOps kVector32 = MakeVector32();

}  // namespace
}  // namespace pixel

bool InkRequestAccepted(uint32_t effect, uint32_t parameter) {
  switch (effect) {
    case EffectBlend:
      return parameter <= 128;
    case EffectBlendOverColour:
    case EffectBlendExceptColour:
      return (parameter >> 24) <= 128;
    case EffectInvert:
    case EffectXor:
    case EffectAnd:
    case EffectOr:
    case EffectAndNot:
    case EffectAdd:
    case EffectMono:
    case EffectSub:
      return true;
    default:
      return false;  // 0 is not an ink, 7 has no routines, 13 and above do not exist
  }
}

namespace pixel {
const InkOps* InkOps8Set(bool vector);
const InkOps* InkOps16Set(int32_t depthIndex, bool vector);
}

const InkOps* GetInkOps(int32_t depthIndex, bool vector) {
  switch (depthIndex) {
    case 0:
      return pixel::InkOps8Set(vector);
    case 1:
    case 2:
      return pixel::InkOps16Set(depthIndex, vector);
    case 3:
      return vector ? &pixel::kVector24 : &pixel::kPlain24;
    case 4:
      return vector ? &pixel::kVector32 : &pixel::kPlain32;
    default:
      return nullptr;
  }
}

void InkBegin(InkState* state, const InkOps* ops, uint32_t effect, uint32_t parameter,
              uint32_t srcTransparentColour, uint32_t srcKey, cPalette* destPalette) {
  *state = InkState{};
  state->destPalette = destPalette;
  state->parameter = parameter;
  state->srcTransparentColour = srcTransparentColour;
  state->srcKey = srcKey;
  if (effect < kInkEffectCount && ops->setup[effect] != nullptr) ops->setup[effect](state);
}
