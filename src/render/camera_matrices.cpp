#include "render/camera_matrices.h"

#include <cmath>

namespace {

D3DVECTOR Subtract(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DVECTOR& a, const D3DVECTOR& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DVECTOR Normalize(const D3DVECTOR& v) {
    float length = std::sqrt(Dot(v, v));
    if (length == 0.0f) {
        return v;
    }
    return {v.x / length, v.y / length, v.z / length};
}

} // namespace

D3DMATRIX MatrixLookAtLH(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up) {
    const D3DVECTOR zAxis = Normalize(Subtract(at, eye));
    const D3DVECTOR xAxis = Normalize(Cross(up, zAxis));
    const D3DVECTOR yAxis = Cross(zAxis, xAxis);
    D3DMATRIX m{};
    m._11 = xAxis.x;
    m._12 = yAxis.x;
    m._13 = zAxis.x;
    m._21 = xAxis.y;
    m._22 = yAxis.y;
    m._23 = zAxis.y;
    m._31 = xAxis.z;
    m._32 = yAxis.z;
    m._33 = zAxis.z;
    m._41 = -Dot(xAxis, eye);
    m._42 = -Dot(yAxis, eye);
    m._43 = -Dot(zAxis, eye);
    m._44 = 1.0f;
    return m;
}

D3DMATRIX MatrixPerspectiveFovLH(float fovY, float aspect, float nearPlane, float farPlane) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    D3DMATRIX m{};
    m._11 = yScale / aspect;
    m._22 = yScale;
    m._33 = farPlane / (farPlane - nearPlane);
    m._34 = 1.0f;
    m._43 = -nearPlane * farPlane / (farPlane - nearPlane);
    return m;
}

float CameraAspect(int32_t clientWidth, int32_t clientHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) {
        return 1.0f;
    }
    return static_cast<float>(static_cast<double>(clientWidth) / clientHeight);
}
