// The standard left-handed view and projection matrices of the camera.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

// The view from eye towards at, with up as the upward direction.
D3DMATRIX MatrixLookAtLH(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up);
// Vertical field of view in radians, width over height, near and far plane.
D3DMATRIX MatrixPerspectiveFovLH(float fovY, float aspect, float nearPlane, float farPlane);
// Client width over client height rounded to a float; 1 when either is not
// positive (a window without area).
float CameraAspect(int32_t clientWidth, int32_t clientHeight);
