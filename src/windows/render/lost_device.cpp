#include "windows/render/lost_device.h"

#include "windows/diag/log.h"
#include "windows/render/lost_device_testing.h"

namespace {

// While the device cannot be reset, or a reset has just failed, a frame waits
// this long before the next timer tick tries again: the log grows by at most
// two lines a second.
constexpr DWORD kLostDeviceWaitMs = 500;

void RealSleep(DWORD milliseconds) {
    Sleep(milliseconds);
}

LostDeviceSleepFunction gSleep = RealSleep;

} // namespace

void SetLostDeviceSleep(LostDeviceSleepFunction sleep) {
    gSleep = sleep ? sleep : RealSleep;
}

void dhReleaseDefaultPoolObjects() {}

HRESULT dhHandleLostDevice(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters,
                           HRESULT code) {
    LogMessage("dhHandleLostDevice ", code);
    if (code == D3DERR_DEVICELOST) {
        dhReleaseDefaultPoolObjects();
        gSleep(kLostDeviceWaitMs);
        return code;
    }
    if (code == D3DERR_DEVICENOTRESET) {
        // A successful reset is the caller's to follow with the device state.
        HRESULT result = device->Reset(parameters);
        if (FAILED(result)) {
            gSleep(kLostDeviceWaitMs);
        }
        return result;
    }
    return code;
}
