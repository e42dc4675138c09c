// The toolkit as the export commands see it.
#pragma once

#include "toolkit/CurveReaders.h"
#include "toolkit/GeometryCollection.h"
#include "toolkit/GeometryConversion.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshConversion.h"
#include "toolkit/Release.h"
#include "toolkit/Selection.h"
