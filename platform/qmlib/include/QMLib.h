// The maker's data-exchange module (QMLib90Ux64): openNURBS meshes to and from STL files, and
// meshes to ACIS SAT files of faceted bodies.
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
  // complete: on failure path is as it was before. Fails for a type other than 0 or 1, a
  // face index that names no vertex, a non-finite vertex, more facets than a binary file
  // can count (2^32 - 1), and a file that cannot be created, written or put in place.
  static int MeshToSTL(const ON_ClassArray<ON_Mesh>& meshes, CString path, int type);

  // Reads a binary or ASCII STL file into mesh. Binary when the file size is 84 + 50 n for
  // the count n in its header, whatever the header says; otherwise ASCII when it begins with
  // "solid" after white space. Identical vertices (exact float equality) are merged; facets
  // whose corners then coincide are dropped. On success mesh holds the file's triangles and
  // nothing else (no earlier vertex, face, normal or colour); on failure mesh is untouched.
  // Fails for a missing, empty, truncated or inconsistent file, a non-finite coordinate,
  // malformed ASCII (the text names the line), and more facets than a mesh can hold.
  static int STLToMesh(CString path, ON_Mesh& mesh);

  // The reason for the last failure of MeshToSTL or STLToMesh, in English; empty after a
  // success.
  static CString GetError();
};

class QMACISMesh {
 public:
  // Writes the mesh as an ACIS SAT file (text, version 700) at path ('\' or '/' separators,
  // UTF-8 on disk) holding one faceted body: one planar face per mesh face on straight edges,
  // corners at one position welded into one vertex, each edge shared by the faces that meet
  // there with their coedges paired, one lump per connected part of the mesh. Faces with fewer
  // than three distinct corners or no area are left out; a quad that is not planar becomes two
  // triangles (a, b, c) and (a, c, d). A part whose every edge joins exactly two faces is
  // closed (the host reads it as a 3D solid); anything else is an open body.
  // orient: non-zero (what the toolkit passes, 1) turns faces to agree with their neighbours
  // and closed parts outwards; 0 keeps each face's corner order as the mesh gives it.
  // The file is written under a temporary name beside path and renamed over path only when
  // complete. Fails (0) for a mesh without faces, a non-finite vertex, a face that names a
  // missing vertex, a mesh left without any face, and a file that cannot be written.
  static int MeshToSAT(const ON_Mesh& mesh, CString path, int orient);

  // The same for a list: every mesh as MeshToSAT above with orient. bodyPerMesh: non-zero
  // (what the toolkit passes, 1) gives one body per mesh, in list order, so the host reads one
  // entity per mesh; 0 puts all meshes into one body. Fails for an empty list or when any mesh
  // fails (the text names its index); no file is written then.
  static int MeshToSAT(const ON_ClassArray<ON_Mesh>& meshes, CString path, int orient, int bodyPerMesh);

  // The reason for the last failure of MeshToSAT, in English; empty after a success.
  static CString GetError();
};
