#include "surface/SysColors.h"

SysColorSource* SystemSysColors() { return nullptr; }
