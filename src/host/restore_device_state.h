#pragma once

// After a successful device reset: the render states and the camera again, on
// the current device. Nothing is created again.
void RestoreDeviceState();
