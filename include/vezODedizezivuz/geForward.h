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

// Shapes and colours.
template <class Arg, class Result>
class UnaryFunctor;
template <class T>
class GeAlignedBox3;
class GeAlignedBoxBuilder;
template <class T>
class GePlane3;
template <class T>
class GeNormalizedPlane3;
template <class T>
class GePlane3Builder;
template <class T>
class GeSphere3;
template <class T>
class GeVector2Utils;
template <class T>
class CoRgbColorT;
template <class T>
class CoHsvColorT;
template <class T>
class CoSpectrumT;

// Culling volumes and sampling.
template <class T>
class GeFrustum;
class GeShaft;
class GeFloatingCone;
class GeAnchoredCone;
class GeCullingCones;
class GeFloatingConeBuilder;
class GeAnchoredConeBuilder;
class GeIcosahedron;
template <class T>
class GeLineFaceBuilder;
template <class T>
class GeBezier3FaceBuilder;

// Rotations and quaternions.
template <class T>
class GeRotation3;
template <int axis, class T>
class GeAxisRotation3;
template <class T>
class GeXAxisRotation3;
template <class T>
class GeYAxisRotation3;
template <class T>
class GeZAxisRotation3;
template <class T>
class GeQuaternion3;

}  // namespace Vo
