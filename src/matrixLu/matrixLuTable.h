#pragma once

// The table of LU operations over one lane set, for the file of each instruction set.

#include "base/matrix3x3Imp.imp"
#include "base/matrix4x4Imp.imp"
#include "matrixLu.h"

namespace Vo {
namespace MatrixLu {
namespace {

template <class L>
constexpr Ops<typename L::Scalar> table() noexcept {
  using namespace MatrixImp;
  return {&linearInverse<L>,        &linearInverseAndDeterminant<L>,
          &affineInverse<L>,        &affineInverseAndDeterminant<L>,
          &projectiveInverse<L>,    &projectiveInverseAndDeterminant<L>,
          &projectiveDeterminant<L>};
}

}  // namespace
}  // namespace MatrixLu
}  // namespace Vo
