// Points and vectors in double (ON_3dPoint, ON_3dVector) and single precision (ON_3fPoint,
// ON_3fVector). As in openNURBS, a point minus a point is a vector, a point plus a vector is a
// point, double types convert implicitly from float ones and the narrowing way is explicit.
#pragma once

#include <cmath>

class ON_3fPoint;
class ON_3dVector;
class ON_3fVector;

class ON_3dPoint {
 public:
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  constexpr ON_3dPoint() = default;
  constexpr ON_3dPoint(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}
  ON_3dPoint(const ON_3fPoint& p);  // NOLINT: widening, implicit as in openNURBS
  explicit ON_3dPoint(const ON_3dVector& v);

  // Index 0, 1, 2 is x, y, z; other indices are a broken precondition.
  double& operator[](int i) { return i <= 0 ? x : (i == 1 ? y : z); }
  double operator[](int i) const { return i <= 0 ? x : (i == 1 ? y : z); }

  ON_3dPoint& operator+=(const ON_3dVector& v);
  ON_3dPoint& operator-=(const ON_3dVector& v);
  ON_3dPoint& operator*=(double s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }

  // True when every coordinate is finite.
  bool IsValid() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }
  double DistanceTo(const ON_3dPoint& p) const;

  friend bool operator==(const ON_3dPoint& a, const ON_3dPoint& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend bool operator!=(const ON_3dPoint& a, const ON_3dPoint& b) { return !(a == b); }
};

class ON_3fPoint {
 public:
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr ON_3fPoint() = default;
  constexpr ON_3fPoint(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
  explicit ON_3fPoint(const ON_3dPoint& p)
      : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(static_cast<float>(p.z)) {}

  float& operator[](int i) { return i <= 0 ? x : (i == 1 ? y : z); }
  float operator[](int i) const { return i <= 0 ? x : (i == 1 ? y : z); }

  bool IsValid() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

  friend bool operator==(const ON_3fPoint& a, const ON_3fPoint& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend bool operator!=(const ON_3fPoint& a, const ON_3fPoint& b) { return !(a == b); }
};

class ON_3dVector {
 public:
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  constexpr ON_3dVector() = default;
  constexpr ON_3dVector(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}
  ON_3dVector(const ON_3fVector& v);  // NOLINT: widening, implicit as in openNURBS
  explicit ON_3dVector(const ON_3dPoint& p) : x(p.x), y(p.y), z(p.z) {}

  double& operator[](int i) { return i <= 0 ? x : (i == 1 ? y : z); }
  double operator[](int i) const { return i <= 0 ? x : (i == 1 ? y : z); }

  double Length() const { return std::sqrt(x * x + y * y + z * z); }
  // Scales to length 1; a zero or non-finite vector is left as it is and gives false.
  bool Unitize();
  bool IsZero() const { return x == 0.0 && y == 0.0 && z == 0.0; }
  bool IsValid() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

  ON_3dVector operator-() const { return {-x, -y, -z}; }
  ON_3dVector& operator*=(double s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }

  friend ON_3dVector operator+(const ON_3dVector& a, const ON_3dVector& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
  }
  friend ON_3dVector operator-(const ON_3dVector& a, const ON_3dVector& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
  }
  friend ON_3dVector operator*(const ON_3dVector& v, double s) { return {v.x * s, v.y * s, v.z * s}; }
  friend ON_3dVector operator*(double s, const ON_3dVector& v) { return v * s; }
  friend bool operator==(const ON_3dVector& a, const ON_3dVector& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend bool operator!=(const ON_3dVector& a, const ON_3dVector& b) { return !(a == b); }
};

class ON_3fVector {
 public:
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr ON_3fVector() = default;
  constexpr ON_3fVector(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
  explicit ON_3fVector(const ON_3dVector& v)
      : x(static_cast<float>(v.x)), y(static_cast<float>(v.y)), z(static_cast<float>(v.z)) {}

  float& operator[](int i) { return i <= 0 ? x : (i == 1 ? y : z); }
  float operator[](int i) const { return i <= 0 ? x : (i == 1 ? y : z); }

  double Length() const { return ON_3dVector(*this).Length(); }
  bool Unitize();

  friend bool operator==(const ON_3fVector& a, const ON_3fVector& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend bool operator!=(const ON_3fVector& a, const ON_3fVector& b) { return !(a == b); }
};

inline ON_3dPoint::ON_3dPoint(const ON_3fPoint& p) : x(p.x), y(p.y), z(p.z) {}
inline ON_3dPoint::ON_3dPoint(const ON_3dVector& v) : x(v.x), y(v.y), z(v.z) {}
inline ON_3dVector::ON_3dVector(const ON_3fVector& v) : x(v.x), y(v.y), z(v.z) {}

inline ON_3dPoint& ON_3dPoint::operator+=(const ON_3dVector& v) {
  x += v.x;
  y += v.y;
  z += v.z;
  return *this;
}
inline ON_3dPoint& ON_3dPoint::operator-=(const ON_3dVector& v) {
  x -= v.x;
  y -= v.y;
  z -= v.z;
  return *this;
}

inline ON_3dPoint operator+(const ON_3dPoint& p, const ON_3dVector& v) { return {p.x + v.x, p.y + v.y, p.z + v.z}; }
inline ON_3dPoint operator-(const ON_3dPoint& p, const ON_3dVector& v) { return {p.x - v.x, p.y - v.y, p.z - v.z}; }
inline ON_3dVector operator-(const ON_3dPoint& a, const ON_3dPoint& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

inline double ON_3dPoint::DistanceTo(const ON_3dPoint& p) const { return (p - *this).Length(); }

inline double ON_DotProduct(const ON_3dVector& a, const ON_3dVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline ON_3dVector ON_CrossProduct(const ON_3dVector& a, const ON_3dVector& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
