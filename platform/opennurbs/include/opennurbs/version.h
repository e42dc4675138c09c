// The version stamp of the openNURBS release the module was built against.
#pragma once

// Returns 200707180, the stamp of the openNURBS release that the module expects.
int ON_Version();
