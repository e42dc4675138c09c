// The roots of openNURBS's class tree: ON_Object (validity) and ON_Geometry (objects with a
// place in space, which can be moved and bounded).
#pragma once

#include "opennurbs/bounding_box.h"
#include "opennurbs/point.h"
#include "opennurbs/text_log.h"

class ON_Object {
 public:
  virtual ~ON_Object() = default;
  // True when the object is fit for use; a non-null text_log receives the reason when not.
  virtual bool IsValid(ON_TextLog* text_log = nullptr) const = 0;

 protected:
  ON_Object() = default;
  ON_Object(const ON_Object&) = default;
  ON_Object& operator=(const ON_Object&) = default;
};

class ON_Geometry : public ON_Object {
 public:
  // Moves the object by translation_vector; false (and nothing moved) when it cannot.
  virtual bool Translate(const ON_3dVector& translation_vector) = 0;
  // The smallest axis-aligned box that holds the object; empty (not IsValid) for an empty object.
  virtual ON_BoundingBox BoundingBox() const = 0;

 protected:
  ON_Geometry() = default;
  ON_Geometry(const ON_Geometry&) = default;
  ON_Geometry& operator=(const ON_Geometry&) = default;
};
