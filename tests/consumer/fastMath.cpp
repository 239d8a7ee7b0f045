// Compiled with the host's -ffast-math: linking the library must not switch it off here.
#include <vezODedizezivuz/vezODedizezivuz.h>

#ifndef __FAST_MATH__
#error "the library's flags switched off the host's -ffast-math"
#endif
#if __cplusplus < 202002L
#error "the library's flags lowered the host's C++ standard"
#endif

int fastMathHostFile() { return 0; }
