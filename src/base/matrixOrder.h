#pragma once

// Element orders of the matrix kinds, for the LU templates that serve all of them.

namespace Vo {
namespace MatrixImp {

// GeLinearMatrix3: row by row.
struct RowMajor3 {
  static constexpr int at(int row, int column) noexcept { return 3 * row + column; }
};

// GeAffineMatrix3 and GeProjectiveMatrix3: column by column with four rows per column; the
// affine linear part is the upper-left 3x3 block of it.
struct ColumnMajor4 {
  static constexpr int at(int row, int column) noexcept { return 4 * column + row; }
};

}  // namespace MatrixImp
}  // namespace Vo
