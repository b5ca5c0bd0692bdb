// Compiled by the layer tests only: one header, with the include path of the
// target the probe links. Whether it compiles tells what that layer can see.
#include PROBE_HEADER
