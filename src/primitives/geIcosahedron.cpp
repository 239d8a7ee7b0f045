#include <vezODedizezivuz/geIcosahedron.h>

namespace Vo {

namespace {

// The floats nearest 1/sqrt(1+phi^2) and phi/sqrt(1+phi^2), written as bit-exact literals.
constexpr float X = 0.525731087f;
constexpr float Z = 0.850650787f;

// Leaf samples: r1 and r2 are drawn in this order for each sample and folded back into the
// triangle when they fall beyond the diagonal, which keeps the density uniform.
unsigned int sampleTriangle(const GeVector3<float>& a, const GeVector3<float>& b,
                            const GeVector3<float>& c, unsigned int k,
                            UnaryFunctor<GeVector3<float>, void>& out, RnRng<float>& rng) {
  if (k == 0) return 0;
  if (k < 4) {
    for (unsigned int i = 0; i < k; ++i) {
      float r1 = rng();
      float r2 = rng();
      if (r1 + r2 > 1.0f) {
        r1 = 1.0f - r1;
        r2 = 1.0f - r2;
      }
      const float r3 = 1.0f - r1 - r2;
      out((r1 * a + r2 * b + r3 * c).normalized());
    }
    return k;
  }
  // Midpoints on the flat face: only the final samples are projected onto the sphere.
  const GeVector3<float> ab = (a + b) * 0.5f;
  const GeVector3<float> bc = (b + c) * 0.5f;
  const GeVector3<float> ca = (c + a) * 0.5f;
  const unsigned int q = k >> 2;
  const unsigned int count = sampleTriangle(a, ab, ca, q, out, rng);
  sampleTriangle(ab, b, bc, q, out, rng);
  sampleTriangle(ca, bc, c, q, out, rng);
  sampleTriangle(bc, ca, ab, q, out, rng);
  return 4 * count;
}

}  // namespace

const float GeIcosahedron::_vertices[12][3] = {
    {-X, 0.0f, Z}, {X, 0.0f, Z},   {-X, 0.0f, -Z}, {X, 0.0f, -Z}, {0.0f, Z, X},  {0.0f, Z, -X},
    {0.0f, -Z, X}, {0.0f, -Z, -X}, {Z, X, 0.0f},   {-Z, X, 0.0f}, {Z, -X, 0.0f}, {-Z, -X, 0.0f}};

const int GeIcosahedron::_edgeIndex[30][2] = {
    {0, 1}, {0, 11}, {0, 4}, {0, 6},  {0, 9},  {1, 10}, {1, 4},  {1, 6},  {1, 8},  {2, 11},
    {2, 3}, {2, 5},  {2, 7}, {2, 9},  {3, 10}, {3, 5},  {3, 7},  {3, 8},  {4, 5},  {4, 8},
    {4, 9}, {5, 8},  {5, 9}, {6, 10}, {6, 11}, {6, 7},  {7, 10}, {7, 11}, {8, 10}, {9, 11}};

const int GeIcosahedron::_faceIndex[20][3] = {
    {0, 4, 1}, {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},  {8, 10, 1}, {8, 3, 10},
    {5, 3, 8}, {5, 2, 3},  {2, 7, 3},  {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6},
    {0, 1, 6}, {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11}};

unsigned int GeIcosahedron::getStratifiedSamples(unsigned int n,
                                                 UnaryFunctor<GeVector3<float>, void>& out,
                                                 RnRng<float>& rng) {
  const unsigned int k = n / 20;
  unsigned int total = 0;
  for (int f = 0; f < 20; ++f) {
    GeVector3<float> a, b, c;
    getFace(f, a, b, c);
    total += sampleTriangle(a, b, c, k, out, rng);
  }
  return total;
}

}  // namespace Vo
