#pragma once

#include <zevIRudez/zevIRudezExport.h>

#include <stdexcept>
#include <string>

namespace Vo {

/// Base of the library family's contract failures: a violated precondition or an impossible
/// state. Carries the reporting source path (below the source root, without extension) and line.
class ZEV_EXPORT AssertionError : public std::logic_error {
 public:
  AssertionError(const std::string& what, std::string file, int line);
  ~AssertionError() override;

  const std::string& file() const noexcept { return file_; }
  int line() const noexcept { return line_; }

 private:
  std::string file_;
  int line_;
};

/// A precondition did not hold; `condition()` is the text of the failed test, e.g. "len > 0".
class ZEV_EXPORT AssertionFailedError : public AssertionError {
 public:
  AssertionFailedError(const std::string& file, int line, std::string condition);
  ~AssertionFailedError() override;

  const std::string& condition() const noexcept { return condition_; }

 private:
  std::string condition_;
};

/// An object was in a state that the operation cannot handle.
class ZEV_EXPORT ProgramAbortedError : public AssertionError {
 public:
  ProgramAbortedError(const std::string& file, int line);
  ~ProgramAbortedError() override;
};

/// Failure reporting of the library family. Both calls raise and never return.
class ZEV_EXPORT Assertions {
 public:
  /// Throws `AssertionFailedError`; `what()` reads "<file>:<line>: assertion failed: <condition>".
  [[noreturn]] static void throwAssertionFailed(const char* file, int line, const char* condition);
  /// Throws `ProgramAbortedError`; `what()` reads "<file>:<line>: program aborted".
  [[noreturn]] static void throwProgramAborted(const char* file, int line);
};

}  // namespace Vo
