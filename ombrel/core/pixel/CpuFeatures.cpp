#include "pixel/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

uint32_t DetectCpuFeatures() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(0, &eax, &ebx, &ecx, &edx) == 0 || eax == 0) return 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return 0;
  const bool mmx = (edx >> 23) & 1;
  const bool sse = mmx && ((edx >> 25) & 1);
  const bool sse2 = sse && ((edx >> 26) & 1);
  uint32_t word = 0;
  if (sse) word |= 0x2;
  if (sse2) word |= 0x4 | 0x1;  // the vector routines are SSE2 code
  return word;
#else
  return 0;
#endif
}

}  // namespace

uint32_t CpuFeatures() {
  static const uint32_t word = DetectCpuFeatures();
  return word;
}
