#pragma once

// Sines and cosines of three float angles, evaluated in double precision and rounded to float,
// four lanes at a time with a polynomial instead of three calls to the system's double sin and
// cos. The kernel file is compiled for AVX2 and FMA and includes no library header (so no inline
// function built for them can be picked by the linker for code that runs elsewhere); the caller
// asks the processor first.
//
// The polynomial is not correctly rounded, but the float results need not be either: they must
// equal the system's double results rounded to float. Any two doubles round to the same float
// unless a float rounding midpoint lies between them, so a lane is answered only when its value
// is farther from every midpoint than the polynomial can be from the system's value. The other
// lanes (and angles outside the covered range, infinities and NaN) are left to the caller.

namespace Vo {
namespace EulerSinCos {

// Angles of larger magnitude are left to the caller.
constexpr float coveredMagnitude = 4096.0f;

// Writes (float)sin((double)x) to sines[n] and the cosine likewise for the angles x = a, b, c
// (n = 0, 1, 2), and returns a mask whose bit n is set when lane n must instead be computed by
// the caller (its outputs are then unspecified). The angles come in registers (building them in
// memory and loading them as one vector would stall on the store forwarding); each output
// array holds four floats, the fourth unspecified, so that whole registers are stored.
unsigned sinCosAvx2(float a, float b, float c, float* sines, float* cosines) noexcept;

}  // namespace EulerSinCos
}  // namespace Vo
