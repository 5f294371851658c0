#include "windows/host/host_state.h"

HostState gHostState;
