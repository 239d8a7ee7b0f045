#include <vezODedizezivuz/geMatrix3.h>

#include <zevIRudez/Assertions.h>

#include "base/luKernel.h"
#include "base/matrixOrder.h"
#include "matrixLuActive.h"

namespace Vo {

namespace {

// "| a b c |" lines, one per row, through the stream's own inserter for T.
template <class T, class Order, int Rows, int Columns>
std::ostream& dumpRows(std::ostream& os, const T* elem) {
  for (int r = 0; r < Rows; ++r) {
    os << "| ";
    for (int c = 0; c < Columns; ++c) {
      if (c > 0) os << ' ';
      os << elem[Order::at(r, c)];
    }
    os << " |" << std::endl;
  }
  return os;
}

// Determinant of the 3x3 minor of a column-major 4x4 matrix that keeps rows r0 < r1 < r2 and
// columns c0 < c1 < c2, expanded along its last row like GeLinearMatrix3::computeDeterminant.
template <class T>
T minor3(const T* e, int r0, int r1, int r2, int c0, int c1, int c2) noexcept {
  auto m = [e](int r, int c) { return e[4 * c + r]; };
  return m(r2, c0) * (m(r0, c1) * m(r1, c2) - m(r0, c2) * m(r1, c1)) +
         m(r2, c1) * (m(r0, c2) * m(r1, c0) - m(r0, c0) * m(r1, c2)) +
         m(r2, c2) * (m(r0, c0) * m(r1, c1) - m(r0, c1) * m(r1, c0));
}

template <class T>
void adjoint4(const T* e, T* out) noexcept {
  static constexpr int others[4][3] = {{1, 2, 3}, {0, 2, 3}, {0, 1, 3}, {0, 1, 2}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const T minor = minor3(e, others[r][0], others[r][1], others[r][2], others[c][0],
                             others[c][1], others[c][2]);
      out[4 * c + r] = ((r + c) % 2 == 0) ? minor : -minor;
    }
  }
}

static_assert(MatrixImp::negligibleDouble == GeScalar<double>::negligibleBelow,
              "the kernels call a pivot negligible as GeScalar<double> does");

[[noreturn]] void reportSingular3() { GeReportSites::linearMatrixSingular.raise(); }
[[noreturn]] void reportSingular4() { GeReportSites::projectiveMatrixSingular.raise(); }

}  // namespace

// Each matrix kind forwards to its own LU kernels and writes its own layout; the wrappers below
// look alike because the work is in those kernels.

// --- GeLinearMatrix3 ---------------------------------------------------------------------------

template <class T>
GeLinearMatrix3<T> GeLinearMatrix3<T>::computeInverse() const {
  GeLinearMatrix3 r;
  if (!MatrixLu::chosen<T>().linearInverse(elem, r.elem)) reportSingular3();
  return r;
}

template <class T>
void GeLinearMatrix3<T>::computeInverseAndDeterminant(GeLinearMatrix3& inverse,
                                                      T& determinant) const noexcept {
  MatrixLu::chosen<T>().linearInverseAndDeterminant(elem, inverse.elem, &determinant);
}

template <class T>
std::ostream& GeLinearMatrix3<T>::dump(std::ostream& os) const {
  return dumpRows<T, MatrixImp::RowMajor3, 3, 3>(os, elem);
}

// --- GeAffineMatrix3 ---------------------------------------------------------------------------

template <class T>
GeAffineMatrix3<T> GeAffineMatrix3<T>::computeInverse() const {
  GeAffineMatrix3 r;
  if (!MatrixLu::chosen<T>().affineInverse(elem, r.elem)) reportSingular3();
  return r;
}

template <class T>
void GeAffineMatrix3<T>::computeInverseAndDeterminant(GeAffineMatrix3& inverse,
                                                      T& determinant) const noexcept {
  // A singular linear part leaves the first argument wholly unwritten, translation included.
  MatrixLu::chosen<T>().affineInverseAndDeterminant(elem, inverse.elem, &determinant);
}

template <class T>
std::ostream& GeAffineMatrix3<T>::dump(std::ostream& os) const {
  return dumpRows<T, MatrixImp::ColumnMajor4, 4, 4>(os, elem);
}

// --- GeProjectiveMatrix3 -----------------------------------------------------------------------

template <class T>
GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::computeAdjoint() const noexcept {
  GeProjectiveMatrix3 r;
  adjoint4(elem, r.elem);
  return r;
}

template <class T>
GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::computeAdjoint(
    const GeAffineMatrix3<T>& a) noexcept {
  GeProjectiveMatrix3 r;
  adjoint4(a.data(), r.elem);
  return r;
}

template <class T>
T GeProjectiveMatrix3<T>::computeDeterminant() const noexcept {
  return MatrixLu::chosen<T>().projectiveDeterminant(elem);
}

template <class T>
GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::computeInverse() const {
  GeProjectiveMatrix3 r;
  if (!MatrixLu::chosen<T>().projectiveInverse(elem, r.elem)) reportSingular4();
  return r;
}

template <class T>
void GeProjectiveMatrix3<T>::computeInverseAndDeterminant(GeProjectiveMatrix3& inverse,
                                                          T& determinant) const noexcept {
  MatrixLu::chosen<T>().projectiveInverseAndDeterminant(elem, inverse.elem, &determinant);
}

template <class T>
std::ostream& GeProjectiveMatrix3<T>::dump(std::ostream& os) const {
  return dumpRows<T, MatrixImp::ColumnMajor4, 4, 4>(os, elem);
}

template class GeLinearMatrix3<float>;
template class GeLinearMatrix3<double>;
template class GeAffineMatrix3<float>;
template class GeAffineMatrix3<double>;
template class GeProjectiveMatrix3<float>;
template class GeProjectiveMatrix3<double>;

}  // namespace Vo
