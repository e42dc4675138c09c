// The export command's body.
#pragma once

// The FACETRES that a resolution of the options dialog stands for: 0 gives 0.01, 100 gives 10;
// values outside 0 to 100 are not bounded.
double FacetResFromResolution(int resolution);

// Selects objects, asks for the file and the options, and writes the STL file. 1 when the file
// was written, 0 on every cancel or failure (with its message).
int ExportToSTL();
