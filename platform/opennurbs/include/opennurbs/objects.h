// Small openNURBS objects: a point object, object attributes (colour and its source), the
// text entity, and block definitions and references (instance definitions and references,
// joined by the definition's uuid).
#pragma once

#include <string>

#include "opennurbs/array.h"
#include "opennurbs/color.h"
#include "opennurbs/defines.h"
#include "opennurbs/object.h"
#include "opennurbs/plane.h"
#include "opennurbs/uuid.h"
#include "opennurbs/xform.h"

class ON_Point : public ON_Geometry {
 public:
  ON_Point() = default;
  explicit ON_Point(const ON_3dPoint& pt) : point(pt) {}
  ON_Point(double x, double y, double z) : point(x, y, z) {}
  ON_Point& operator=(const ON_3dPoint& pt) {
    point = pt;
    return *this;
  }
  operator ON_3dPoint() const { return point; }  // NOLINT: as in openNURBS

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;

  ON_3dPoint point;
};

class ON_3dmObjectAttributes : public ON_Object {
 public:
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_color_source ColorSource() const { return m_color_source; }
  void SetColorSource(ON::object_color_source source) { m_color_source = source; }

  ON_UUID m_uuid = ON_nil_uuid;
  std::wstring m_name;
  int m_layer_index = 0;
  ON_Color m_color;  // used when the colour source is color_from_object

 private:
  ON::object_color_source m_color_source = ON::color_from_layer;
};

// A text annotation: its string, the plane it sits in and its height. A new one is empty.
class ON_TextEntity2 : public ON_Geometry {
 public:
  // False for an empty text.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  // Empty: the text's extent depends on a font.
  ON_BoundingBox BoundingBox() const override { return {}; }

  std::wstring m_usertext;
  ON_Plane m_plane;
  double m_textheight = 1.0;
};

// A named block definition, found by its uuid; m_object_uuid lists the objects it holds.
class ON_InstanceDefinition : public ON_Geometry {
 public:
  // A non-nil uuid and a name.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector&) override { return false; }
  ON_BoundingBox BoundingBox() const override { return m_bbox; }

  // Never null: an empty string when the definition has no name.
  const wchar_t* Name() const { return m_name.c_str(); }
  void SetName(const wchar_t* name) { m_name = name ? name : L""; }
  ON_UUID Uuid() const { return m_uuid; }
  void SetUuid(const ON_UUID& uuid) { m_uuid = uuid; }
  const wchar_t* Description() const { return m_description.c_str(); }
  void SetDescription(const wchar_t* text) { m_description = text ? text : L""; }

  ON_UUID m_uuid = ON_nil_uuid;
  std::wstring m_name;
  std::wstring m_description;
  ON_SimpleArray<ON_UUID> m_object_uuid;
  ON_BoundingBox m_bbox;
};

// A placed block: the definition's uuid and the transform from the definition into the world.
class ON_InstanceRef : public ON_Geometry {
 public:
  // A non-nil definition uuid and a finite transform.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  // Moves the placement: the translation is added to the transform.
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override { return m_bbox; }

  ON_UUID m_instance_definition_uuid = ON_nil_uuid;
  ON_Xform m_xform;  // the identity
  ON_BoundingBox m_bbox;
};
