#include "surface/SysColors.h"

uint32_t SysColorTable[kSysColorCount] = {};
int32_t SysColorsLoaded = 0;

int32_t SysColorCache::Cache(uint32_t* table) {
  if (source_ == nullptr) return 0;
  for (int32_t i = 0; i < kSysColorCount; ++i)
    if (i != kSysColorUnused) table[i] = source_->Colour(i);
  return source_->ReduceToDisplay(table, kSysColorCount);
}

uint32_t SysColorCache::Get(uint32_t* table, int32_t* loaded, int32_t index) {
  if (!*loaded) {
    Cache(table);
    *loaded = 1;
  }
  if (index >= 0 && index < kSysColorCount) return table[index];
  return source_ != nullptr ? source_->Colour(index) : 0;
}

int32_t SysColorCache::Refresh(uint32_t* table, const int32_t* loaded) {
  return *loaded ? Cache(table) : 0;
}

// No lock: clients call these from their user-interface thread.
OMB_FLAT int32_t OMB_STDCALL CacheSysColors() {
  return SysColorCache(SystemSysColors()).Cache(SysColorTable);
}
OMB_FLAT uint32_t OMB_STDCALL GetSysColorCached(int32_t index) {
  return SysColorCache(SystemSysColors()).Get(SysColorTable, &SysColorsLoaded, index);
}
OMB_FLAT int32_t OMB_STDCALL RefreshSysColors() {
  return SysColorCache(SystemSysColors()).Refresh(SysColorTable, &SysColorsLoaded);
}
