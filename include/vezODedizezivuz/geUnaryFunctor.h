#pragma once

/// @file
/// The callback base through which the library hands out streams of points and directions.

#include <vezODedizezivuz/vezODedizezivuzExport.h>

namespace Vo {

/// A caller-owned callback taking one value: box corners, samples for the cone and box builders,
/// icosahedron directions.
///
/// It provides the two member types `argument_type` and `result_type` that generic code looks
/// for (std::unary_function, which used to provide them, is gone from C++17). The library calls
/// `operator()` once per value, passing the same object changed in place between calls where it
/// says so; keep a copy of what must outlive the call. For `Result` = bool, a false result asks
/// the caller to stop. Copying copies nothing but the derived class's own members.
template <class Arg, class Result>
class VO_EXPORT UnaryFunctor {
 public:
  using argument_type = Arg;
  using result_type = Result;

  virtual ~UnaryFunctor() = default;

  /// Receives the next value.
  virtual Result operator()(const Arg& value) = 0;

 protected:
  UnaryFunctor() = default;
  UnaryFunctor(const UnaryFunctor&) = default;
  UnaryFunctor& operator=(const UnaryFunctor&) = default;
};

}  // namespace Vo
