// Drawing data in from and out to files: DXF through the host's own import command, SAT
// through the host's modeller.
//
// The DXF operations set no last-error text: they report through their result and, for a
// series, on the command line. The SAT operations leave the reason of a failure in the host
// module's last-error text.
#pragma once

#include "afx.h"
#include "dbidar.h"
#include "gemat3d.h"

// Imports one DXF file into the current drawing with the host's "_dxfin" command and, when
// zoom is non-zero, zooms to the drawing's extents ("_zoom" "_extents", its result not looked
// at). 1 when the import command succeeded; 0 otherwise (nothing printed, no zoom).
int ImportDXF(const CString& path, int zoom);

// Imports every DXF file of a series: the files of path's folder whose names begin with
// path's file name (its extension plays no part) and end in .dxf, in the order the file
// system lists them. After each successful import the view is zoomed to the extents and count
// rises by one; a failed import prints "Unable to read 2D data from <name>" (no line feed).
// Every matched file is deleted after its turn, imported or not. No file matching: "Unable to
// read 2D data\n" is printed and 0 returned. 1 when at least one file matched and every one
// was imported; count holds the files imported.
int ImportDXFSeries(const CString& path, int& count);

// Reads the bodies of a SAT file, moves each by transform (one that refuses keeps its place)
// and appends it to model space, in file order; zooms to the extents when zoom is non-zero,
// also when the file held no body. 1 when at least one entity was appended; 0 with the
// words of the host's status for an unreadable file, or "No entites imported".
int ImportSAT(const CString& path, const AcGeMatrix3d& transform, int zoom);

// Writes the entities of ids (opened for read, kept open until the file is written; an id
// that does not open is left out) to one SAT file at path. 1, or 0 with the words of the
// host's status.
int ExportSAT(const AcDbObjectIdArray& ids, const CString& path);
