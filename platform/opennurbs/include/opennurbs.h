// openNURBS stand-in: the subset of the openNURBS toolkit that the module uses (points,
// vectors, colours, dynamic arrays, bounding boxes and polygon meshes), with openNURBS's
// names and conventions. Module code includes this header only.
#pragma once

#include "opennurbs/version.h"
#include "opennurbs/point.h"
#include "opennurbs/color.h"
#include "opennurbs/array.h"
#include "opennurbs/bounding_box.h"
#include "opennurbs/text_log.h"
#include "opennurbs/object.h"
#include "opennurbs/mesh.h"
