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

// 20 f(n / 20) samples with f(k) = k below 4, else 4 f(k / 4); two random values each. Seeded
// samples lie inside the cone over their own face (which also checks the face winding). With
// constant random values each sample is the same point of its leaf triangle: C for 0, and
// 0.25 A + 0.25 B + 0.5 C for 0.25 (checked with n = 20, where each face is one leaf). With n = 80
// the four leaves of face 0 come in the order (A, AB, CA), (AB, B, BC), (CA, BC, C), (BC, CA, AB).
TEST(Icosahedron, SamplesFollowTheSubdivisionRuleAndLieOnTheirFacesAtFixedLeafPoints) {
  const unsigned int listed[][2] = {{19, 0}, {20, 20}, {60, 60}, {100, 80}, {1000, 960}};
  for (const auto& nAndCount : listed) {
    Collector out;
    CountingRng rng(0.5f);
    EXPECT_TRUE(GeIcosahedron::getStratifiedSamples(nAndCount[0], out, rng) == nAndCount[1] &&
                rng.calls == 2 * nAndCount[1])
        << "n = " << nAndCount[0];
  }
  for (unsigned int n = 20; n < 6000; n += 97) {
    Collector out;
    RnDefaultRng<float> rng(n);
    GeIcosahedron::getStratifiedSamples(n, out, rng);
    for (std::size_t s = 0; s < out.samples.size(); ++s) {
      const V& p = out.samples[s];
      V a, b, c;
      GeIcosahedron::getFace(static_cast<int>(s / (out.samples.size() / 20)), a, b, c);
      EXPECT_GE(std::min({dot(cross(b, a), p), dot(cross(c, b), p), dot(cross(a, c), p)}), -1e-6f)
          << "n = " << n << ", sample " << s;
    }
  }
  Collector quarters, leaves;
  CountingRng quarter(0.25f), zero(0.0f);
  GeIcosahedron::getStratifiedSamples(20, quarters, quarter);
  GeIcosahedron::getStratifiedSamples(80, leaves, zero);
  for (int f = 0; f < 20; ++f) {
    V a, b, c;
    GeIcosahedron::getFace(f, a, b, c);
    V expected[] = {a * 0.25f + b * 0.25f + c * 0.5f, c + a, b + c, c, a + b};
    for (int s = 0; s < 5; ++s) {
      expected[s].normalize();
      const V& got = s == 0 ? quarters.samples[f] : leaves.samples[4 * f + s - 1];
      EXPECT_NEAR((got - expected[s]).length(), 0.0f, 1e-7f) << "face " << f << " case " << s;
    }
  }
}
