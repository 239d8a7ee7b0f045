#pragma once

#include <zevIRudez/ObjPtr.h>
#include <zevIRudez/zevIRudezExport.h>

#include <vector>

namespace Vo {

/// What a library of the family tells about its own build. Every string has static lifetime.
class ZEV_EXPORT DbgBuildInfo {
 public:
  virtual const char* getProjectName() const = 0;
  virtual int getMajorVersion() const = 0;
  virtual int getMinorVersion() const = 0;
  virtual const char* getReleaseStage() const = 0;
  virtual const char* getLibraryName(bool longForm) const = 0;
  virtual const char* getBuildLabel(bool longForm) const = 0;
  virtual const char* getBuildDate(bool longForm) const = 0;
  virtual const char* getBuildConfiguration(bool longForm) const = 0;
  virtual const char* getBuildUser(bool longForm) const = 0;
  virtual const char* getExtraInfo(bool longForm) const = 0;
  virtual ~DbgBuildInfo();
};

/// Registry of build-information records. The base library owns every registered record: one
/// registered while a package initialises is destroyed with that package's object, any other
/// when the process ends.
class ZEV_EXPORT DbgBuildInfoUtil {
 public:
  static void registerInfo(ObjPtr<DbgBuildInfo> info);
  /// The live records in registration order.
  static std::vector<const DbgBuildInfo*> getRegisteredInfos();
};

}  // namespace Vo
