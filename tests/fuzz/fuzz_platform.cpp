// The one platform call the parser's library needs, for the fuzz build.
#include "platform/platform.h"

void PlatformBeep(uint32_t, uint32_t) {}
