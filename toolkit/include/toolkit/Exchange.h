// Bringing drawing data in from files through the host's own import command.
//
// Neither operation sets a last-error text: they report through their result and, for a
// series, on the command line.
#pragma once

#include "afx.h"

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
