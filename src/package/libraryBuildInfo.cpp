#include "libraryBuildInfo.h"

#include <vezODedizezivuz/version.h>

#ifndef VO_BUILD_USER
#define VO_BUILD_USER "unknown"
#endif

namespace Vo {

const char* LibraryBuildInfo::getProjectName() const { return "Kernite"; }
int LibraryBuildInfo::getMajorVersion() const { return VO_VERSION_MAJOR; }
int LibraryBuildInfo::getMinorVersion() const { return VO_VERSION_MINOR; }
const char* LibraryBuildInfo::getReleaseStage() const { return "pre-alpha"; }
const char* LibraryBuildInfo::getLibraryName(bool) const { return "vezODedizezivuz"; }

const char* LibraryBuildInfo::getBuildLabel(bool longForm) const {
  return longForm ? "Velmora-Kernite_187" : "V. 187";
}

// The compiler's date of this translation unit is the build date, already in the
// "Mmm dd yyyy" form with the day right-aligned in two characters.
const char* LibraryBuildInfo::getBuildDate(bool) const { return __DATE__; }

const char* LibraryBuildInfo::getBuildConfiguration(bool) const { return "WinNT_ostore_release"; }
const char* LibraryBuildInfo::getBuildUser(bool) const { return VO_BUILD_USER; }
const char* LibraryBuildInfo::getExtraInfo(bool) const { return "[Information not available]"; }

LibraryBuildInfo::~LibraryBuildInfo() = default;

}  // namespace Vo
