// Grow, shrink and remove over a bare pointer array that another object keeps
// as three variables: items, count and capacity (a multiple of 16).
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

// Makes room for `needed` items: the capacity becomes needed rounded up to 16
// when it is not already above needed. False keeps the old array and capacity.
OMB_FLAT int OMB_STDCALL PtrArrayGrow(void*** items, int32_t unused, int32_t* capacity,
                                      int32_t needed);
// Sets the capacity to needed rounded up to 16 (0 frees the array). False
// keeps the old array and capacity.
OMB_FLAT int OMB_STDCALL PtrArrayShrink(void*** items, int32_t unused, int32_t* capacity,
                                        int32_t needed);
// Removes item index, then gives back 16 slots when more than 16 are unused;
// an emptied array is freed. Returns the capacity (0 once freed).
OMB_FLAT int32_t OMB_STDCALL PtrArrayRemoveAt(void*** items, int32_t* count, int32_t* capacity,
                                              int32_t index);
