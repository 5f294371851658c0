// Counting stand-ins for the steps that a saver run drives (settings, device,
// render setup, scene, drawing, configuration dialog), handed to the host as
// its table of steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>
#include <d3d9.h>

#include "windows/host/saver_steps.h"
#include "windows/settings/settings_store.h"

struct StepDoubles {
    std::vector<std::string> calls;      // names of the steps in call order
    Settings settings = {0.5f, 0.5f, 1}; // what LoadSettings finds
    HRESULT createDirect3DResult = S_OK;
    HRESULT createDeviceResult = S_OK;
    HRESULT spriteResult = S_OK;
    int32_t startRunResult = 0;   // what StartSnowRun reports
    SnowRunChoice runChoice = {}; // as given to StartSnowRun
    int32_t flakeCount = 100;     // the flakes of the scene it makes
    uint32_t stepMs = 7;          // what UpdateTickClock reports
    int tickUpdates = 0;          // UpdateTickClock calls
    uint32_t lastStepMicroseconds = 0;
    uint8_t fullScreen = 0xFF; // as given to dhChooseBackBufferFormat
    uint8_t colourDepth = 0;
    int32_t presentWidth = -1;
    int32_t presentHeight = -1;
    int32_t cameraWidth = -1;
    int32_t cameraHeight = -1;
    // A real windowed Direct3D 9 device instead of none, for the frame tests.
    bool realDevice = false;
    HRESULT drawResult = S_OK;                    // what DrawFlakes reports
    HRESULT lostDeviceCode = S_OK;                // the code dhHandleLostDevice was given
    HRESULT lostDeviceResult = D3DERR_DEVICELOST; // what dhHandleLostDevice reports
    const void* drawnVertices = nullptr;
    HWND dialogParent = nullptr; // parent of the last configuration dialog
    int dialogs = 0;
};

extern StepDoubles gSteps;

// The table of the doubles above.
SaverSteps DoubleSteps();

int CountCalls(const std::string& name);
