#include <functional>
#include <thread>

#include "surface/DirectDrawRegistry.h"

uint32_t CurrentThreadId() {
  return uint32_t(std::hash<std::thread::id>{}(std::this_thread::get_id()));
}
