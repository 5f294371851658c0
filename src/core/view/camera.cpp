#include "core/view/camera.h"

#include <cmath>

namespace {

Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// In single precision throughout, as the matrices have always been made.
Vec3 Normalize(Vec3 v) {
    const float length = std::sqrt(Dot(v, v));
    if (length == 0.0f) {
        return v;
    }
    return {v.x / length, v.y / length, v.z / length};
}

} // namespace

Camera SnowCamera() {
    return {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}, 0.85f, 0.1f, 20.0f};
}

float CameraAspect(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return 1.0f;
    }
    return static_cast<float>(static_cast<double>(width) / height);
}

Matrix4 CameraView(const Camera& camera) {
    const Vec3 zAxis = Normalize(Vec3Subtract(camera.target, camera.eye));
    const Vec3 xAxis = Normalize(Cross(camera.up, zAxis));
    const Vec3 yAxis = Cross(zAxis, xAxis);
    Matrix4 view = {};
    view.m[0][0] = xAxis.x;
    view.m[0][1] = yAxis.x;
    view.m[0][2] = zAxis.x;
    view.m[1][0] = xAxis.y;
    view.m[1][1] = yAxis.y;
    view.m[1][2] = zAxis.y;
    view.m[2][0] = xAxis.z;
    view.m[2][1] = yAxis.z;
    view.m[2][2] = zAxis.z;
    view.m[3][0] = -Dot(xAxis, camera.eye);
    view.m[3][1] = -Dot(yAxis, camera.eye);
    view.m[3][2] = -Dot(zAxis, camera.eye);
    view.m[3][3] = 1.0f;
    return view;
}

Matrix4 CameraProjection(const Camera& camera, float aspect) {
    const float yScale = 1.0f / std::tan(camera.fieldOfViewY / 2.0f);
    const float depth = camera.farPlane - camera.nearPlane;
    Matrix4 projection = {};
    projection.m[0][0] = yScale / aspect;
    projection.m[1][1] = yScale;
    projection.m[2][2] = camera.farPlane / depth;
    projection.m[2][3] = 1.0f;
    projection.m[3][2] = -camera.nearPlane * camera.farPlane / depth;
    return projection;
}

Matrix4 CameraProjectionFitted(const Camera& camera, int32_t width, int32_t height) {
    const float aspect = CameraAspect(width, height);
    Matrix4 projection = CameraProjection(camera, aspect);
    if (aspect < 1.0f) {
        projection.m[0][0] *= aspect;
        projection.m[1][1] *= aspect;
    }
    return projection;
}

Matrix4 MultiplyMatrices(const Matrix4& a, const Matrix4& b) {
    Matrix4 product = {};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[row][k] * b.m[k][column];
            }
            product.m[row][column] = sum;
        }
    }
    return product;
}
