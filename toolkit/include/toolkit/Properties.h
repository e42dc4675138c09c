// Drawing properties of entities (layer, linetype, colour, owner block, class name) and the
// colour arithmetic: the AutoCAD colour-index palette and colours packed as 0x00BBGGRR.
// Entities are opened for read and closed again before each operation returns; none of these
// operations sets a last-error text.
#pragma once

#include <array>
#include <cstdint>

#include "acadstrc.h"
#include "afx.h"
#include "dbcolor.h"
#include "dbid.h"

class AcDbEntity;

// A colour laid out as the Windows COLORREF: red in bits 0-7, green 8-15, blue 16-23, bits
// 24-31 zero. White, 0xFFFFFF, is also the answer wherever no colour can be found.
typedef uint32_t PackedRGB;

constexpr PackedRGB kWhiteRGB = 0xFFFFFF;

inline PackedRGB PackRGB(uint32_t red, uint32_t green, uint32_t blue) {
  return red | green << 8 | blue << 16;
}

// Red, green and blue (0 to 255) of the colour indices 1 to 258: row i - 1 holds index i.
// 256, 257 and 258 are white.
extern const std::array<std::array<int32_t, 3>, 258> ACIPalette;

// The palette row of a colour index 1 to 258; white for any other index.
PackedRGB ACIToRGB(int colorIndex);
// Always a true colour, black included.
AcCmColor RGBToAcCmColor(PackedRGB rgb);

// The colour the entity shows: by layer through the colour index of the layer of its name in
// the working database (white when that layer is missing), by block white, a true colour as it
// is, a colour index through the palette, any other method white. rgb is white unless a colour
// was found; the status is that of a failing open or close, else eOk.
Acad::ErrorStatus GetEntityRGB(const AcDbObjectId& id, PackedRGB& rgb);
PackedRGB GetEntityRGB(const AcDbObjectId& id);  // white on failure

// Sets the colour of an entity open for write: 0 (black) becomes colour index 7, any other
// value a true colour. The setter's status.
Acad::ErrorStatus SetEntityColor(AcDbEntity* entity, const PackedRGB& rgb);

// The colour index of a layer of the working database (a true-colour layer gives its nearest
// index). The lookup's status; index is left as it was when the layer is missing.
Acad::ErrorStatus GetLayerColorIndex(const CString& layer, int& index);
int GetLayerColorIndex(const CString& layer);  // -1 for a missing layer
// The same index through the palette; rgb is left as it was on failure.
Acad::ErrorStatus GetLayerRGB(const CString& layer, PackedRGB& rgb);
PackedRGB GetLayerRGB(const CString& layer);  // white for a missing layer

// Single properties of the entity of an id. The out-parameter forms leave their output as it
// was when the entity cannot be opened; the value forms then give an empty text, the null id or
// a default (by layer) colour.
void GetEntityLayer(const AcDbObjectId& id, CString& layer);
CString GetEntityLayer(const AcDbObjectId& id);
void GetEntityLinetype(const AcDbObjectId& id, CString& linetype);
CString GetEntityLinetype(const AcDbObjectId& id);
void GetEntityColor(const AcDbObjectId& id, AcCmColor& color);
AcCmColor GetEntityColor(const AcDbObjectId& id);
// Both from one open; both left as they were on failure.
void GetEntityLayerAndColor(const AcDbObjectId& id, CString& layer, AcCmColor& color);
void GetEntityLayerId(const AcDbObjectId& id, AcDbObjectId& layerId);
AcDbObjectId GetEntityLayerId(const AcDbObjectId& id);
void GetEntityLinetypeId(const AcDbObjectId& id, AcDbObjectId& linetypeId);
AcDbObjectId GetEntityLinetypeId(const AcDbObjectId& id);
// The block table record that owns the entity.
void GetEntityBlockId(const AcDbObjectId& id, AcDbObjectId& blockId);
AcDbObjectId GetEntityBlockId(const AcDbObjectId& id);

// The exact run-time class name ("AcDbLine"); empty when the entity cannot be opened.
CString GetEntityClassName(const AcDbObjectId& id);

// The name of the block table record that owns the entity ("*Model_Space"). The status of the
// first failing open or of getName; name is written only on success.
Acad::ErrorStatus GetEntityBlockName(const AcDbObjectId& id, CString& name);
CString GetEntityBlockName(const AcDbObjectId& id);  // empty on failure
