// What both platform layers of the per-thread app lists share: lists live
// in library heap blocks, so a recording heap sees them like every record.
#pragma once

#include "HandleList.h"

cHandleList* NewAppList();
void DeleteAppList(cHandleList* list);
