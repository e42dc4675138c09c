// openNURBS stand-in: the subset of the openNURBS toolkit that the module uses (points,
// vectors, colours, dynamic arrays, bounding boxes, polygon meshes, transforms, planes, the
// analytic and NURBS curves, NURBS surfaces, attributes, text and block instances), with
// openNURBS's names and conventions. Module code includes this header only.
#pragma once

#include "opennurbs/version.h"
#include "opennurbs/point.h"
#include "opennurbs/color.h"
#include "opennurbs/array.h"
#include "opennurbs/bounding_box.h"
#include "opennurbs/text_log.h"
#include "opennurbs/object.h"
#include "opennurbs/mesh.h"
#include "opennurbs/defines.h"
#include "opennurbs/uuid.h"
#include "opennurbs/xform.h"
#include "opennurbs/interval.h"
#include "opennurbs/plane.h"
#include "opennurbs/curve.h"
#include "opennurbs/nurbs.h"
#include "opennurbs/objects.h"
