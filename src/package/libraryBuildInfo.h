#pragma once

#include <zevIRudez/DbgBuildInfo.h>

namespace Vo {

/// Describes this build of the library. Holds no data; every string has static lifetime.
class LibraryBuildInfo final : public DbgBuildInfo {
 public:
  const char* getProjectName() const override;
  int getMajorVersion() const override;
  int getMinorVersion() const override;
  const char* getReleaseStage() const override;
  const char* getLibraryName(bool longForm) const override;
  const char* getBuildLabel(bool longForm) const override;
  const char* getBuildDate(bool longForm) const override;
  const char* getBuildConfiguration(bool longForm) const override;
  const char* getBuildUser(bool longForm) const override;
  const char* getExtraInfo(bool longForm) const override;
  ~LibraryBuildInfo() override;
};

}  // namespace Vo
