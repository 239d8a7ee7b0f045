#pragma once

/// @file
/// Everything a host needs: every public header of the library and of its base library.

#include <zevIRudez/Assertions.h>
#include <zevIRudez/DbgBuildInfo.h>
#include <zevIRudez/FloatUtil.h>
#include <zevIRudez/InPackageInit.h>
#include <zevIRudez/Interval.h>
#include <zevIRudez/ObjPtr.h>
#include <zevIRudez/RnRng.h>

#include <vezODedizezivuz/geForward.h>
#include <vezODedizezivuz/geReportSites.h>
#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/geTolerances.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzPackage.h>

// Shapes and colours.
#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geSphere3.h>
#include <vezODedizezivuz/geUnaryFunctor.h>
#include <vezODedizezivuz/geVector2Utils.h>

// Matrices, scale and translation, camera builder.
#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/geScaleTranslation3.h>

// Culling volumes and sampling.
#include <vezODedizezivuz/geCone.h>
#include <vezODedizezivuz/geConeBuilder.h>
#include <vezODedizezivuz/geFaceBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <vezODedizezivuz/geIcosahedron.h>
#include <vezODedizezivuz/geShaft.h>

// Rotations and quaternions.
#include <vezODedizezivuz/geQuaternion3.h>
#include <vezODedizezivuz/geRotation3.h>
