// The maker's data-exchange module (QMLib90Ux64): openNURBS meshes to and from STL files.
// Every operation returns 1 on success and 0 on failure; GetError then tells why.
#pragma once

#include "afx.h"
#include "opennurbs.h"

class QMSTL {
 public:
  // Writes all meshes of the list into one STL file at path ('\' or '/' separators, UTF-8 on
  // disk). type 0: ASCII, one "solid" block for the whole file; type 1: binary, an 80-byte
  // header that does not begin with "solid", and in each facet's attribute word the colour
  // of its mesh (m_C[0], when the mesh has one) by the VisCAM/SolidView convention: bit 15
  // set, red in bits 10-14, green 5-9, blue 0-4 (the top five bits of each channel). Quads
  // become two triangles (a, b, c) and (a, c, d); facet normals are computed (zero for a
  // degenerate facet). An empty list writes a valid STL file without facets.
  // The file is written under a temporary name beside path and renamed over path only when
  // complete: on failure path is as it was before. A replaced file's permission bits carry
  // over to the new one. Fails for a type other than 0 or 1, a face index that names no
  // vertex, a non-finite vertex, more facets than a binary file can count (2^32 - 1), an
  // existing read-only file (no write permission bit set, whoever runs the export), and a
  // file that cannot be created, written or put in place (the text then names the folder
  // when it is the folder that refuses the new file).
  static int MeshToSTL(const ON_ClassArray<ON_Mesh>& meshes, CString path, int type);

  // Reads a binary or ASCII STL file into mesh. Binary when the file size is 84 + 50 n for
  // the count n in its header, whatever the header says; otherwise ASCII when it begins with
  // "solid" after white space. Identical vertices (exact float equality) are merged; facets
  // whose corners then coincide are dropped, and so are the vertices that no kept facet uses.
  // On success mesh holds the file's triangles and nothing else (no earlier vertex, face,
  // normal or colour, no unused vertex); on failure mesh is untouched.
  // Fails for a missing, empty, truncated or inconsistent file, a non-finite coordinate,
  // malformed ASCII (the text names the line), and more facets than a mesh can hold.
  static int STLToMesh(CString path, ON_Mesh& mesh);

  // The reason for the last failure of MeshToSTL or STLToMesh, in English; empty after a
  // success.
  static CString GetError();
};
