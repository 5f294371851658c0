#include <windows.h>

#include "windows/host/saver_host.h"
#include "windows/host/saver_steps.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SaverEntry(ProgramSteps());
}
