#pragma once

/// @file
/// The regular icosahedron inscribed in the unit sphere, and stratified random directions.

#include <vezODedizezivuz/geUnaryFunctor.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>
#include <zevIRudez/RnRng.h>

namespace Vo {

/// The regular icosahedron inscribed in the unit sphere as three constant tables (float only),
/// and a generator of directions spread evenly over the sphere. Static only; no instances.
///
/// The vertices are (±X, 0, ±Z), (0, ±Z, ±X) and (±Z, ±X, 0) with X and Z the floats nearest
/// 1/√(1+φ²) and φ/√(1+φ²), φ the golden ratio. Every face (A, B, C) has the same winding:
/// (B − A) × (C − A) points towards the centre (clockwise seen from outside).
/// The accessors take an index from 0 to count − 1 and do no range test.
class VO_EXPORT GeIcosahedron {
 public:
  /// 12 vertices (x, y, z) of unit length.
  static const float _vertices[12][3];
  /// 30 edges as pairs of vertex indexes, the smaller index first.
  static const int _edgeIndex[30][2];
  /// 20 faces as triples of vertex indexes.
  static const int _faceIndex[20][3];

  static constexpr int getNbVertices() noexcept { return 12; }
  static constexpr int getNbEdges() noexcept { return 30; }
  static constexpr int getNbFaces() noexcept { return 20; }

  static void getVertex(int i, GeVector3<float>& v) noexcept {
    v = GeVector3<float>(_vertices[i][0], _vertices[i][1], _vertices[i][2]);
  }
  /// The two vertices of edge `i`, in table order.
  static void getEdge(int i, GeVector3<float>& a, GeVector3<float>& b) noexcept {
    getVertex(_edgeIndex[i][0], a);
    getVertex(_edgeIndex[i][1], b);
  }
  /// The three vertices of face `i`, in table order.
  static void getFace(int i, GeVector3<float>& a, GeVector3<float>& b,
                      GeVector3<float>& c) noexcept {
    getVertex(_faceIndex[i][0], a);
    getVertex(_faceIndex[i][1], b);
    getVertex(_faceIndex[i][2], c);
  }

  /// Generates about `n` random unit directions spread evenly over the sphere, passes each to
  /// `out` and returns how many it generated: 20·f(n/20), with f(k) = k for k < 4 and
  /// f(k) = 4·f(k/4) otherwise (integer division), so at most `n` and none when n < 20.
  ///
  /// Each face of the icosahedron is split recursively into four (edge midpoints on the flat
  /// face) while at least four samples fall to a triangle; each leaf triangle then receives its
  /// one to three samples, uniform on the flat triangle, projected onto the sphere. The samples
  /// come face by face in table order, and within a face depth-first, so consecutive samples are
  /// close together. Every sample takes two values of `rng` (r1, then r2), which must lie in
  /// [0, 1]; nothing else is asked of `rng`. Exceptions thrown by `out` or `rng` propagate.
  static unsigned int getStratifiedSamples(unsigned int n,
                                           UnaryFunctor<GeVector3<float>, void>& out,
                                           RnRng<float>& rng);

 private:
  GeIcosahedron() = default;
};

}  // namespace Vo
