#pragma once

/// @file
/// Forward declarations for hosts that only pass the library's types around.

namespace Vo {

template <class T>
class GeVector2;
template <class T>
class GePoint2;
template <class T>
class GeUnitVector2;
template <class T>
class GeVector3;
template <class T>
class GePoint3;
template <class T>
class GeUnitVector3;
template <class T>
class GeHomogeneousCoord3;
template <class T>
class Interval;
class GeTolerances;
// Matrices, scale and translation, camera builder.
template <class T>
class GeLinearMatrix3;
template <class T>
class GeAffineMatrix3;
template <class T>
class GeProjectiveMatrix3;
template <class T>
class GeScale3;
template <class T>
class GeTranslation3;
template <class T>
class GeCameraBuilder;

}  // namespace Vo
