#include <vezODedizezivuz/geIcosahedron.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Vo;

namespace {

using V = GeVector3<float>;

struct Collector : UnaryFunctor<V, void> {
  std::vector<V> samples;
  void operator()(const V& v) override { samples.push_back(v); }
};

// Returns a constant and counts the calls.
struct CountingRng : RnRng<float> {
  explicit CountingRng(float constant) : constant(constant) {}
  float operator()() override { return ++calls, constant; }
  float constant;
  unsigned int calls = 0;
};

}  // namespace

// The edges are exactly the closest vertex pairs, and the faces use each edge twice. (The
// winding is checked by the samples lying on their own faces.)
TEST(Icosahedron, EdgesJoinTheClosestVerticesAndEveryEdgeBordersTwoFaces) {
  std::vector<std::pair<int, int>> close, edges, sides;
  for (int k = 0; k < 144; ++k) {
    V a, b;
    GeIcosahedron::getVertex(k / 12, a), GeIcosahedron::getVertex(k % 12, b);
    if (k / 12 < k % 12 && (a - b).length() < 1.1f) close.emplace_back(k / 12, k % 12);
  }
  for (int e = 0; e < GeIcosahedron::getNbEdges(); ++e)
    edges.emplace_back(GeIcosahedron::_edgeIndex[e][0], GeIcosahedron::_edgeIndex[e][1]);
  std::sort(edges.begin(), edges.end());
  EXPECT_EQ(edges, close);
  for (int k = 0; k < 3 * GeIcosahedron::getNbFaces(); ++k)
    sides.push_back(std::minmax(GeIcosahedron::_faceIndex[k / 3][k % 3],
                                GeIcosahedron::_faceIndex[k / 3][(k + 1) % 3]));
  for (const auto& edge : edges) EXPECT_EQ(std::count(sides.begin(), sides.end(), edge), 2);
}

// 20 f(n / 20) samples with f(k) = k below 4, else 4 f(k / 4); two random values each. With
// n = 80 the four leaves of face (A, B, C) come in the order (A, AB, CA), (AB, B, BC),
// (CA, BC, C), (BC, CA, AB), AB being the midpoint of A and B on the flat face. The random value
// 0.75, folded back to 0.25, puts each sample at 0.25 A + 0.25 B + 0.5 C of its leaf triangle,
// inside its face (which checks the face winding).
TEST(Icosahedron, SamplesFollowTheSubdivisionRule) {
  const unsigned int listed[][2] = {{19, 0}, {20, 20}, {60, 60}, {100, 80}, {1000, 960}};
  for (const auto& [n, count] : listed) {
    Collector out;
    CountingRng rng(0.5f);
    EXPECT_TRUE(GeIcosahedron::getStratifiedSamples(n, out, rng) == count && rng.calls == 2 * count)
        << "n = " << n;
  }
  Collector leaves;
  CountingRng folded(0.75f);
  GeIcosahedron::getStratifiedSamples(80, leaves, folded);
  ASSERT_EQ(leaves.samples.size(), 80u);
  for (int f = 0; f < 20; ++f) {
    V a, b, c;
    GeIcosahedron::getFace(f, a, b, c);
    const V ab = (a + b) * 0.5f, bc = (b + c) * 0.5f, ca = (c + a) * 0.5f;
    const V leaf[4][3] = {{a, ab, ca}, {ab, b, bc}, {ca, bc, c}, {bc, ca, ab}};
    for (int s = 0; s < 4; ++s) {
      const V& p = leaves.samples[4 * f + s];
      const V expected = (leaf[s][0] * 0.25f + leaf[s][1] * 0.25f + leaf[s][2] * 0.5f).normalized();
      EXPECT_NEAR((p - expected).length(), 0.0f, 1e-6f) << "face " << f << " leaf " << s;
      EXPECT_GT(std::min({dot(cross(b, a), p), dot(cross(c, b), p), dot(cross(a, c), p)}), 0.0f);
    }
  }
}
