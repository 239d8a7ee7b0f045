#pragma once

/// @file
/// `GeReportSites`: every place where the library reports a failed precondition or an impossible
/// state, with the source name and line that the report carries.
///
/// The source names and lines are part of the interface: hosts and tests match reports by them,
/// and they do not follow the layout of the library's own files (some names even use a
/// backslash). Each report the library raises comes from one entry of this table, so moving
/// code never moves a report. Checks added after that layout was fixed number their lines from
/// 1001 within their source name, so they can never be mistaken for one of the original sites.

#include <zevIRudez/Assertions.h>

namespace Vo {

/// One reported location: the source name and line of the report, and the condition text of an
/// `AssertionFailedError` (nullptr for a `ProgramAbortedError`).
struct GeReportSite {
  const char* file;
  int line;
  const char* condition;

  /// Raises this site's report; does not return.
  [[noreturn]] void raise() const {
    if (condition != nullptr) Assertions::throwAssertionFailed(file, line, condition);
    Assertions::throwProgramAborted(file, line);
  }
};

namespace GeReportSites {

/// A unit vector (3D or 2D) made from a vector of zero or NaN length.
inline constexpr GeReportSite unitVectorLength{"primitives/geVector3.inline", 496, "len > 0"};

/// A plane builder asked for its plane or centroid with fewer than three points.
inline constexpr GeReportSite planeBuilderTooFewPoints{"primitives/gePlane3Builder.imp", 82,
                                                       nullptr};
/// A plane builder whose points are collinear or equal: the Newell normal has no length.
inline constexpr GeReportSite planeBuilderNormalLength{"primitives/gePlane3Builder.imp", 91,
                                                       "len > 0"};

/// A singular linear (or affine) matrix inverted.
inline constexpr GeReportSite linearMatrixSingular{"base/matrix3x3Imp.imp", 126, "nonSingular"};
/// A singular projective matrix inverted.
inline constexpr GeReportSite projectiveMatrixSingular{"base/matrix4x4Imp.imp", 175, "nonSingular"};

/// Aiming with an up vector: the part of the up vector perpendicular to the direction.
inline constexpr GeReportSite aimUpVector{"primitives/geRotation3.imp", 226, "len > 0"};
/// Aiming with an up vector: the fallback axis when the up vector gives none.
inline constexpr GeReportSite aimFallbackUp{"primitives/geRotation3.imp", 253, "len > 0"};
/// Aiming with an up vector: the third frame vector.
inline constexpr GeReportSite aimThirdAxis{"primitives/geRotation3.imp", 258, "len > 0"};
/// Aiming by the direction alone: the axis across the direction and its fallback axis.
inline constexpr GeReportSite aimAcross{"primitives/geRotation3.imp", 163, "len > 0"};
/// Aiming by the direction alone: the remaining frame vector.
inline constexpr GeReportSite aimRemaining{"primitives/geRotation3.imp", 167, "len > 0"};
/// Aiming with an aim axis outside 0 to 2 (checked before anything is computed).
inline constexpr GeReportSite aimAxisRange{"primitives/geRotation3.imp", 1001, "aimAxis in 0..2"};
/// Aiming with an up axis outside 0 to 2 or equal to the aim axis.
inline constexpr GeReportSite aimUpAxisRange{"primitives/geRotation3.imp", 1002,
                                             "upAxis in 0..2, not aimAxis"};
/// Aiming at a polygon whose Newell normal is zero (fewer than three or collinear points).
inline constexpr GeReportSite aimPolygonNormal{"primitives/geRotation3.imp", 311, "len > 0"};

/// An Euler convention whose first axis is 3 or more, which no axis table can be read with.
inline constexpr GeReportSite eulerFirstAxis{"primitives/geQuaternion3.imp", 58, "firstAxis < 3"};

/// A shaft plane from a pair of box faces whose first face index is outside 0 to 5.
inline constexpr GeReportSite shaftFirstFace{"primitives\\geShaft", 190, nullptr};
/// The same for the second face of the pair.
inline constexpr GeReportSite shaftSecondFace{"primitives\\geShaft", 232, nullptr};

/// A floating cone expanded towards a direction that leaves its new axis without length.
inline constexpr GeReportSite floatingConeAxis{"primitives\\geFloatingCone", 136, "len > 0"};

/// An anchored cone built from no sample points.
inline constexpr GeReportSite anchoredConeNoSamples{"primitives\\geAnchoredConeBuilder", 96,
                                                    "size > 0"};
/// An anchored cone's base frame: the first vector across the axis.
inline constexpr GeReportSite anchoredConeFirstAcross{"primitives\\geAnchoredConeBuilder", 111,
                                                      "len > 0"};
/// An anchored cone's base frame: the second vector across the axis.
inline constexpr GeReportSite anchoredConeSecondAcross{"primitives\\geAnchoredConeBuilder", 114,
                                                       "len > 0"};

/// A sphere classified against a frustum with a negative or NaN radius.
inline constexpr GeReportSite frustumSphereRadius{"primitives/geFrustum", 1001, "radius >= 0"};

/// A batch frustum classification asked explicitly for an instruction set this processor lacks.
inline constexpr GeReportSite frustumBatchPath{"primitives/geFrustumBatch", 71,
                                               "isAvailable(path)"};

}  // namespace GeReportSites

}  // namespace Vo
