// Three floats and the handful of operations the motion update needs. Every
// operation takes its operands by value and yields a new vector.
#pragma once

struct Vec3 {
    float x;
    float y;
    float z;
};

Vec3 Vec3Clear();
Vec3 Vec3UnitX();
Vec3 Vec3UnitY();
Vec3 Vec3Set(float x, float y, float z);
Vec3 Vec3Add(Vec3 a, Vec3 b);
Vec3 Vec3Subtract(Vec3 a, Vec3 b);
Vec3 Vec3Scale(Vec3 v, float s);
// x*x + y*y + z*z rounded to a float.
float Vec3LengthSq(Vec3 v);
// v over its length (the square root of the float squared length); a vector of
// length exactly 0 comes back unchanged.
Vec3 Vec3Normalize(Vec3 v);
