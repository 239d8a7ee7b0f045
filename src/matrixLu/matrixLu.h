#pragma once

// The LU operations of the matrices (inverse, inverse with determinant, determinant) on every
// instruction set they are built for, and the run-time choice among them. Internal to the
// library; the tests and benchmarks reach it through the voMatrixLu target to hold every path to
// the portable one and to time each. Includes no library header, as the wide kernels' files
// include it.
//
// Every path computes the same bits: the same operations per element in the same order, no
// fused multiply-add. Each operation reads its whole input before writing, so `out` may be the
// input; a singular matrix returns false and writes nothing.

namespace Vo {
namespace MatrixLu {

// No AVX-512 path: a 4x4 determinant with the whole float matrix in one 512-bit register (the
// exchanges one in-lane permute, the elimination one masked multiply and subtract; the same bits)
// ran 35 to 40 % slower than the AVX2 kernel, double too. Adding a single unused 512-bit
// instruction to the AVX2 kernel already cost 3 to 5 ns per call on the Xeon measured, likely
// because 512-bit code there closes one of the vector ports that these throughput-bound calls
// need (the machine had no counters to confirm it). Measure again before adding one for
// another processor.
enum class Path { portable, sse2, avx2 };
inline constexpr Path allPaths[] = {Path::portable, Path::sse2, Path::avx2};

template <class T>
struct Ops {
  // GeLinearMatrix3: nine elements row by row.
  bool (*linearInverse)(const T* m, T* out) noexcept;
  bool (*linearInverseAndDeterminant)(const T* m, T* out, T* det) noexcept;
  // GeAffineMatrix3: sixteen elements column by column. The first writes the bottom row
  // (0, 0, 0, 1); the second leaves the bottom row of `out` as it is.
  bool (*affineInverse)(const T* m, T* out) noexcept;
  bool (*affineInverseAndDeterminant)(const T* m, T* out, T* det) noexcept;
  // GeProjectiveMatrix3: sixteen elements column by column.
  bool (*projectiveInverse)(const T* m, T* out) noexcept;
  bool (*projectiveInverseAndDeterminant)(const T* m, T* out, T* det) noexcept;
  // Zero for a singular matrix.
  T (*projectiveDeterminant)(const T* m) noexcept;
};

// Built in and supported by this processor (and its operating system).
bool isAvailable(Path path) noexcept;
// The widest available path.
Path bestPath() noexcept;
// The operations of an available path (the portable ones for a path that is not available).
template <class T>
const Ops<T>& ops(Path path) noexcept;
// The operations of bestPath(), chosen once (matrixLuActive.h reads the choice inline).
template <class T>
const Ops<T>& active() noexcept;

// One table per instruction-set file; null when that file was built without its instruction set.
const Ops<float>* avx2Float() noexcept;
const Ops<double>* avx2Double() noexcept;

}  // namespace MatrixLu
}  // namespace Vo
