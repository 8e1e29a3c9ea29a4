#include "StartupSettingsInstance.h"

StartupSettings& TheStartupSettings()
{
    static StartupSettings settings;
    return settings;
}
