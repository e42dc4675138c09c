// Point objects, attributes, text and block instances.
#include "opennurbs/objects.h"

bool ON_Point::IsValid(ON_TextLog*) const { return point.IsValid(); }

bool ON_Point::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  point += v;
  return true;
}

ON_BoundingBox ON_Point::BoundingBox() const { return {point, point}; }

bool ON_3dmObjectAttributes::IsValid(ON_TextLog*) const {
  return m_color_source >= ON::color_from_layer && m_color_source <= ON::color_from_parent;
}

bool ON_TextEntity2::IsValid(ON_TextLog* text_log) const {
  if (m_usertext.empty()) {
    if (text_log) text_log->Print("ON_TextEntity2: no text\n");
    return false;
  }
  return m_plane.IsValid() && m_textheight > 0.0;
}

bool ON_TextEntity2::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  m_plane.origin += v;
  return true;
}

bool ON_InstanceDefinition::IsValid(ON_TextLog* text_log) const {
  if (ON_UuidIsNil(m_uuid) || m_name.empty()) {
    if (text_log) text_log->Print("ON_InstanceDefinition: no uuid or no name\n");
    return false;
  }
  return true;
}

bool ON_InstanceRef::IsValid(ON_TextLog* text_log) const {
  if (ON_UuidIsNil(m_instance_definition_uuid)) {
    if (text_log) text_log->Print("ON_InstanceRef: no definition uuid\n");
    return false;
  }
  return m_xform.IsValid();
}

bool ON_InstanceRef::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  ON_Xform move;
  move.Translation(v);
  m_xform = move * m_xform;
  return true;
}
