// A source file of one layer that includes the header PADWIRE_PROBE_INCLUDE names; whether it
// compiles is what tests/layering/CMakeLists.txt asks.
#include PADWIRE_PROBE_INCLUDE
