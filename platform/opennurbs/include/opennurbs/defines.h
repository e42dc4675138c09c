// openNURBS's constants: pi, the zero tolerance (2^-32) that its geometric tests use, and
// the colour sources of object attributes.
#pragma once

constexpr double ON_PI = 3.141592653589793238462643;
constexpr double ON_SQRT2 = 1.414213562373095048801689;
constexpr double ON_SQRT1_2 = 0.707106781186547524400844;           // the square root of one half
constexpr double ON_ZERO_TOLERANCE = 2.3283064365386962890625e-10;  // 2^-32
constexpr double ON_UNSET_VALUE = -1.23432101234321e+308;

class ON {
 public:
  // Where an object takes its display colour from.
  enum object_color_source {
    color_from_layer = 0,
    color_from_object = 1,
    color_from_material = 2,
    color_from_parent = 3
  };
  // The source for an integer; values outside 0 .. 3 give color_from_layer.
  static object_color_source ObjectColorSource(int i) {
    return i >= color_from_layer && i <= color_from_parent ? static_cast<object_color_source>(i)
                                                           : color_from_layer;
  }
};
