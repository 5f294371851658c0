#include "windows/host/saver_steps.h"

#include "core/flakes/update_flakes.h"
#include "windows/render/device_setup.h"
#include "windows/render/draw_flakes.h"
#include "windows/render/lost_device.h"
#include "windows/render/render_setup.h"
#include "windows/settings/config_dialog.h"
#include "windows/settings/settings_store.h"

SaverSteps ProgramSteps() {
    SaverSteps steps = {};
    steps.loadSettings = LoadSettings;
    steps.createDirect3D = dhCreateDirect3D;
    steps.chooseBackBufferFormat = dhChooseBackBufferFormat;
    steps.isDisplayMode = dhIsDisplayMode;
    steps.fillPresentParameters = dhFillPresentParameters;
    steps.createDevice = dhCreateDevice;
    steps.releaseDevice = dhReleaseDevice;
    steps.handleLostDevice = dhHandleLostDevice;
    steps.loadSpriteTexture = LoadSpriteTexture;
    steps.applyRenderStates = ApplyRenderStates;
    steps.setupCamera = SetupCamera;
    steps.buildFlakeVertices = BuildFlakeVertices;
    steps.drawFlakes = DrawFlakes;
    steps.startSnowRun = StartSnowRun;
    steps.updateTickClock = UpdateTickClock;
    steps.updateFlakes = UpdateFlakes;
    steps.endSnowRun = EndSnowRun;
    steps.registerDialogHook = RegisterDialogHook;
    steps.configDialogProc = ConfigDialogProc;
    return steps;
}
