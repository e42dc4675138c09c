// Private to the modeller: ACIS surface and curve records as OCCT geometry.
#pragma once

#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>

#include "sat/Records.h"

namespace plx::modeller::satin {

// A surface record (plane, cone, sphere, torus, spline). flipped is set when the record's own
// data turns its normal against OCCT's natural one (a reversed cone, a negative radius).
// Throws sat::FormatError for a record that is not a surface or holds unusable values.
Handle(Geom_Surface) ReadSurface(const sat::File& file, std::size_t index, bool& flipped);

// A curve record (straight, ellipse, intcurve with B-spline data). Throws sat::FormatError for a
// record that is not such a curve or holds unusable values.
Handle(Geom_Curve) ReadCurve(const sat::File& file, std::size_t index);

// The last part of a record's name ("cone-surface" gives "surface").
std::string_view Kind(const std::string& name);

}  // namespace plx::modeller::satin
