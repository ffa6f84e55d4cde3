// Built only by the layers_* tests: an include of UPWARD_HEADER, a header from
// a layer above the library this probe links. It must not be found.
#include UPWARD_HEADER
