// A module with compiled resources, for the lookup tests; it holds nothing else.
extern "C" int ResourceModuleMarker() { return 1; }
