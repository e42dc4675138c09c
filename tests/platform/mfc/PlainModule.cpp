// A module without resources that depends on one with resources: the lookup must not take the
// dependency's table for this module's.
extern "C" int ResourceModuleMarker();
extern "C" int PlainModuleMarker() { return ResourceModuleMarker() + 1; }
