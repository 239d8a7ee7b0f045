#pragma once

/// @file
/// The library's packages as the base library sees them. Loading the library constructs and
/// registers "color", "geometry" and "primitives" in that order; "primitives" hands the base
/// library a build-information record when it initialises. Unloading destroys them in reverse.

#include <vezODedizezivuz/vezODedizezivuzExport.h>
#include <zevIRudez/DbgBuildInfo.h>
#include <zevIRudez/InPackageInit.h>

namespace Vo {

namespace VoInit {
struct VO_EXPORT color {};       ///< colours; depends on base
struct VO_EXPORT geometry {};    ///< geometry; depends on base
struct VO_EXPORT primitives {};  ///< the rest; depends on color, geometry, resmgt and base
}  // namespace VoInit

/// Registers this library's `LibraryBuildInfo` with `DbgBuildInfoUtil`; ownership passes to
/// the base library.
template <>
VO_EXPORT void InInit<VoInit::primitives>::initializePackage();

}  // namespace Vo
