#pragma once

/// @file
/// Callback interfaces through which a client receives the faces of a surface: faces bounded by
/// straight lines (`GeLineFaceBuilder`) and faces whose edges may also be cubic Bézier curves
/// (`GeBezier3FaceBuilder`). The library defines the interfaces only; a producer (a tessellator,
/// a file reader) calls them and the client implements them.
///
/// Call protocol, the same for both interfaces:
///
///     beginFace()
///       beginLoop(p0)  lineTo(p1) ... [bezierTo(c1, c2, pn) ...]  endLoop()   // outer boundary
///       beginLoop(q0)  ...                                         endLoop()   // holes, if any
///     endFace()
///
/// - A face has exactly one outer loop, given first, followed by zero or more hole loops.
/// - Seen from the front side of the face, the outer loop runs counter-clockwise (so the face
///   normal follows the right-hand rule, as for `GePlane3Builder`) and holes run clockwise.
/// - A loop is closed implicitly: `endLoop` joins the current point back to the loop's start
///   point with a straight edge, which is omitted when the last point already equals the start.
/// - Every edge starts at the current point, which is the start point after `beginLoop` and the
///   end point of the previous edge afterwards.
/// Producers must keep to this order; a client may treat any other order as a programming error
/// of the producer and need not recover from it. Points are in the producer's coordinates.

#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

namespace Vo {

/// Receives faces bounded by straight lines (T = float or double). Abstract.
template <class T>
class VO_EXPORT GeLineFaceBuilder {
 public:
  GeLineFaceBuilder() = default;
  virtual ~GeLineFaceBuilder() = default;

  /// Starts a new face; the previous face, if any, has ended.
  virtual void beginFace() = 0;
  /// Starts a boundary loop of the current face at `start`: the outer loop first, then holes.
  virtual void beginLoop(const GePoint3<T>& start) = 0;
  /// Adds a straight edge from the current point to `end`, which becomes the current point.
  virtual void lineTo(const GePoint3<T>& end) = 0;
  /// Closes the current loop with a straight edge back to its start point (omitted when the
  /// current point is the start point).
  virtual void endLoop() = 0;
  /// Ends the current face: all its loops have been given.
  virtual void endFace() = 0;

 protected:
  GeLineFaceBuilder(const GeLineFaceBuilder&) = default;
  GeLineFaceBuilder& operator=(const GeLineFaceBuilder&) = default;
};

/// Receives faces whose boundary edges are straight lines or cubic Bézier curves. Abstract.
///
/// A producer that has only straight edges may hand its faces to either interface.
template <class T>
class VO_EXPORT GeBezier3FaceBuilder : public GeLineFaceBuilder<T> {
 public:
  GeBezier3FaceBuilder() = default;

  /// Adds a cubic Bézier edge from the current point (the first control point) through the
  /// control points `control1` and `control2` to `end`, which becomes the current point. The
  /// curve is B(t) = (1−t)³·P0 + 3(1−t)²t·control1 + 3(1−t)t²·control2 + t³·end, t in [0, 1].
  virtual void bezierTo(const GePoint3<T>& control1, const GePoint3<T>& control2,
                        const GePoint3<T>& end) = 0;

 protected:
  GeBezier3FaceBuilder(const GeBezier3FaceBuilder&) = default;
  GeBezier3FaceBuilder& operator=(const GeBezier3FaceBuilder&) = default;
};

// The virtual tables and type information are emitted once, in the library.
extern template class GeLineFaceBuilder<float>;
extern template class GeLineFaceBuilder<double>;
extern template class GeBezier3FaceBuilder<float>;
extern template class GeBezier3FaceBuilder<double>;

}  // namespace Vo
