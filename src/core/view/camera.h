// The fixed camera the snow is seen through, and its view and projection as
// plain numbers: the Direct3D and the OpenGL drawing both take them from here.
#pragma once

#include <cstdint>

#include "core/math/vec3.h"

struct Camera {
    Vec3 eye;
    Vec3 target;
    Vec3 up;
    float fieldOfViewY; // vertical, in radians
    float nearPlane;
    float farPlane;
};

// A 4 x 4 matrix for row vectors (a point p becomes p * m), rows first: the
// layout of a D3DMATRIX.
struct Matrix4 {
    float m[4][4];
};

// The eye at the origin looking along +z, y up, a vertical field of view of
// 0.85 radians, near plane 0.1 and far plane 20: the box lies between depth 0
// and 1 in front of it.
Camera SnowCamera();

// Width over height rounded to a float; 1 when either is not positive (a
// window without area gets a square view rather than a broken matrix).
float CameraAspect(int32_t width, int32_t height);

// Left-handed look-at: the eye goes to the origin, the target onto +z.
Matrix4 CameraView(const Camera& camera);

// Left-handed perspective: x and y over the field of view, depth from the
// near plane (0) to the far plane (1).
Matrix4 CameraProjection(const Camera& camera, float aspect);

// The projection for a view of width x height pixels whose shorter side sets
// the scale: a landscape view gets CameraProjection's; one taller than wide
// has the field of view across instead of up, so that it shows what the
// landscape view of those sides shows, turned upright.
Matrix4 CameraProjectionFitted(const Camera& camera, int32_t width, int32_t height);

// a * b: a point is transformed by a, then by b.
Matrix4 MultiplyMatrices(const Matrix4& a, const Matrix4& b);
