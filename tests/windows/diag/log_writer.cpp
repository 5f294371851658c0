// log_writer W N: N lines through the log, as one of several savers would
// write them at once: "dhHandleLostDevice writer W line I : D3DERR_DEVICELOST".
#include <cstdlib>
#include <string>

#include "windows/diag/log.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        const std::string message =
            std::string("dhHandleLostDevice writer ") + argv[1] + " line " + std::to_string(i);
        LogMessage(message.c_str(), static_cast<int32_t>(0x88760868u));
    }
    return 0;
}
