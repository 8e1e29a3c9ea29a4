#include <algorithm>

#include "surface/CopyDCScaled.h"

bool KeepAspectSize(int32_t sw, int32_t sh, int32_t* dw, int32_t* dh) {
  if (sw <= 0 || sh <= 0) return false;
  const double byWidth = double(*dw) / sw;
  const double byHeight = double(*dh) / sh;
  const double s = byWidth < byHeight ? byWidth : byHeight;  // the height ratio when equal
  *dw = int32_t(sw * s);
  *dh = int32_t(sh * s);
  return true;
}
