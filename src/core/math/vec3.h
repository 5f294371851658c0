// Three floats and the handful of operations the motion update needs. Every
// operation takes its operands by value and yields a new vector. They are
// defined here so that the per-flake arithmetic inlines.
#pragma once

#include <cmath>

struct Vec3 {
    float x;
    float y;
    float z;
};

inline Vec3 Vec3Clear() {
    return {0.0f, 0.0f, 0.0f};
}
inline Vec3 Vec3UnitX() {
    return {1.0f, 0.0f, 0.0f};
}
inline Vec3 Vec3UnitY() {
    return {0.0f, 1.0f, 0.0f};
}
inline Vec3 Vec3Set(float x, float y, float z) {
    return {x, y, z};
}
inline Vec3 Vec3Add(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 Vec3Subtract(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 Vec3Scale(Vec3 v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

// x*x + y*y + z*z rounded to a float.
inline float Vec3LengthSq(Vec3 v) {
    double x = v.x;
    double y = v.y;
    double z = v.z;
    return static_cast<float>(x * x + y * y + z * z);
}

// v over its length (the square root of the float squared length); a vector of
// length exactly 0 comes back unchanged.
inline Vec3 Vec3Normalize(Vec3 v) {
    // The square root of a float, rounded to a float, is the same whether
    // taken in single or double precision.
    float length = std::sqrt(Vec3LengthSq(v));
    if (length == 0.0f) {
        return v;
    }
    return {v.x / length, v.y / length, v.z / length};
}
