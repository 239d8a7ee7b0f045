#include <vezODedizezivuz/vezODedizezivuzPackage.h>

#include "libraryBuildInfo.h"

namespace Vo {

template <>
void InInit<VoInit::primitives>::initializePackage() {
  DbgBuildInfoUtil::registerInfo(ObjPtr<DbgBuildInfo>(new LibraryBuildInfo));
}

namespace {

// Static objects of one translation unit are constructed in definition order and destroyed in
// the reverse order, which is the load and unload order the base library expects.
InInit<VoInit::color> colorPackage("color", {InInit<VoInit::base>::getType()});
InInit<VoInit::geometry> geometryPackage("geometry", {InInit<VoInit::base>::getType()});
InInit<VoInit::primitives> primitivesPackage("primitives", {InInit<VoInit::color>::getType(),
                                                            InInit<VoInit::geometry>::getType(),
                                                            InInit<VoInit::resmgt>::getType(),
                                                            InInit<VoInit::base>::getType()});

// All three are registered with their dependencies by now; let the base library initialise
// them so the build-information record is in place before the host's main runs.
[[maybe_unused]] const int initializedAtLoad = InPackageInit::initializePackages();

}  // namespace

}  // namespace Vo
