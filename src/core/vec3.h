// Vec3 and the shapes built from it.
#pragma once

// Three contiguous floats, handed to GL as vertex and normal arrays (stride 12).
struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    static Vec3 zero() { return {0.0f, 0.0f, 0.0f}; }
    void set(float nx, float ny, float nz) { x = nx; y = ny; z = nz; }
    Vec3 operator+(const Vec3& b) const { return {x + b.x, y + b.y, z + b.z}; }
    Vec3 operator-(const Vec3& b) const { return {x - b.x, y - b.y, z - b.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    // Adds in place and returns a copy of the result.
    Vec3 addInPlace(const Vec3& b);
    // Scales by 1/s, the reciprocal taken once in double precision.
    Vec3 divide(float s) const;
    // Length in double precision.
    float length() const;
    // Divides by the length in place and returns a copy; a zero vector stays zero.
    Vec3 normalize();
};
static_assert(sizeof(Vec3) == 12, "GL reads arrays of Vec3 with a 12-byte stride");

// The program's cross product: its second component is a.x b.z - a.z b.x,
// the negative of the textbook one. Mesh normals depend on exactly this.
Vec3 cross(const Vec3& a, const Vec3& b);
Vec3 lerp(const Vec3& a, const Vec3& b, float t);
// m holds nine floats, row after row.
Vec3 transform(const float m[9], const Vec3& v);

Vec3 spherePoint(float r, float theta, float phi);
// A point of a plane curve in z = 0 by kind (2, 5, 6, 7); other kinds leave out as it was.
void curvePoint(float r, float a, int kind, Vec3& out);
