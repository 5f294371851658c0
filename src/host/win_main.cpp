#include <windows.h>

#include "host/saver_host.h"
#include "host/saver_steps.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SaverEntry(ProgramSteps());
}
