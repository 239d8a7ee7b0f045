#include <zevIRudez/Assertions.h>

#include <utility>

namespace Vo {

AssertionError::AssertionError(const std::string& what, std::string file, int line)
    : std::logic_error(what), file_(std::move(file)), line_(line) {}
AssertionError::~AssertionError() = default;

AssertionFailedError::AssertionFailedError(const std::string& file, int line, std::string condition)
    : AssertionError(file + ":" + std::to_string(line) + ": assertion failed: " + condition, file,
                     line),
      condition_(std::move(condition)) {}
AssertionFailedError::~AssertionFailedError() = default;

ProgramAbortedError::ProgramAbortedError(const std::string& file, int line)
    : AssertionError(file + ":" + std::to_string(line) + ": program aborted", file, line) {}
ProgramAbortedError::~ProgramAbortedError() = default;

void Assertions::throwAssertionFailed(const char* file, int line, const char* condition) {
  throw AssertionFailedError(file, line, condition);
}

void Assertions::throwProgramAborted(const char* file, int line) {
  throw ProgramAbortedError(file, line);
}

}  // namespace Vo
