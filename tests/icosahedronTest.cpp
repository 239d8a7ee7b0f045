#include <vezODedizezivuz/geIcosahedron.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "testUtil.h"

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
  float operator()() override {
    ++calls;
    return constant;
  }
  float constant;
  unsigned int calls = 0;
};

// Samples per face for k = n / 20: k below 4, else four sub-triangles with k / 4 each.
unsigned int perFace(unsigned int k) { return k < 4 ? k : 4 * perFace(k / 4); }

V normalized(V v) {
  v.normalize();
  return v;
}

}  // namespace

TEST(Icosahedron, VerticesAreBitExactUnitVectorsAndEdgesExactlyTheClosestPairs) {
  EXPECT_EQ(VoTest::bits(GeIcosahedron::_vertices[1][0]), 0x3F069650u);
  EXPECT_EQ(VoTest::bits(GeIcosahedron::_vertices[1][2]), 0x3F59C440u);
  std::vector<std::pair<int, int>> close, edges;
  for (int i = 0; i < 12; ++i) {
    V a, b;
    GeIcosahedron::getVertex(i, a);
    EXPECT_NEAR(a.length(), 1.0f, 1e-7f) << "vertex " << i;
    for (int j = i + 1; j < 12; ++j) {
      GeIcosahedron::getVertex(j, b);
      if ((a - b).length() < 1.1f) close.emplace_back(i, j);
    }
  }
  for (int e = 0; e < GeIcosahedron::getNbEdges(); ++e) {
    edges.emplace_back(GeIcosahedron::_edgeIndex[e][0], GeIcosahedron::_edgeIndex[e][1]);
    EXPECT_LT(edges.back().first, edges.back().second) << "edge " << e;
  }
  std::sort(edges.begin(), edges.end());
  EXPECT_EQ(edges, close);
}

TEST(Icosahedron, FacesUseEachEdgeTwiceAndWindTowardsTheCentre) {
  ASSERT_EQ(GeIcosahedron::getNbFaces(), 20);
  std::vector<std::pair<int, int>> sides;
  for (int f = 0; f < 20; ++f) {
    V a, b, c;
    GeIcosahedron::getFace(f, a, b, c);
    EXPECT_LT(dot(cross(b - a, c - a), a + b + c), 0.0f) << "face " << f;
    for (int k = 0; k < 3; ++k) {
      const int i = GeIcosahedron::_faceIndex[f][k], j = GeIcosahedron::_faceIndex[f][(k + 1) % 3];
      sides.emplace_back(std::min(i, j), std::max(i, j));
    }
  }
  for (int e = 0; e < 30; ++e) {
    const std::pair<int, int> edge(GeIcosahedron::_edgeIndex[e][0],
                                   GeIcosahedron::_edgeIndex[e][1]);
    EXPECT_EQ(std::count(sides.begin(), sides.end(), edge), 2) << "edge " << e;
  }
}

// Seeded samples: 20 f(n / 20) of them, unit length, each inside the cone over its own face (on
// the inner side of the three planes through the centre and an edge).
TEST(Icosahedron, SampleCountsFollowTheSubdivisionRuleAndSamplesAreUnitAndOnTheirFace) {
  const unsigned int listed[][2] = {{0, 0},    {19, 0},    {20, 20},   {60, 60},
                                    {100, 80}, {320, 320}, {1000, 960}};
  for (const auto& nAndCount : listed) {
    Collector out;
    CountingRng rng(0.5f);
    EXPECT_EQ(GeIcosahedron::getStratifiedSamples(nAndCount[0], out, rng), nAndCount[1])
        << "n = " << nAndCount[0];
    EXPECT_EQ(rng.calls, 2 * nAndCount[1]) << "n = " << nAndCount[0];
  }
  for (unsigned int n = 0; n < 6000; n += 97) {
    Collector out;
    RnDefaultRng<float> rng(n);
    const unsigned int count = GeIcosahedron::getStratifiedSamples(n, out, rng);
    EXPECT_EQ(count, 20 * perFace(n / 20)) << "n = " << n;
    ASSERT_EQ(out.samples.size(), count) << "n = " << n;
    for (unsigned int s = 0; s < count; ++s) {
      const V& p = out.samples[s];
      V a, b, c;
      GeIcosahedron::getFace(static_cast<int>(s / (count / 20)), a, b, c);
      const float lowest =
          std::min({dot(cross(b, a), p), dot(cross(c, b), p), dot(cross(a, c), p)});
      EXPECT_NEAR(p.length(), 1.0f, 1e-6f) << "n = " << n << ", sample " << s;
      EXPECT_GE(lowest, -1e-6f) << "n = " << n << ", sample " << s;
    }
  }
}

// With constant random values each sample is the same point of its leaf triangle: C for 0, and
// 0.25 A + 0.25 B + 0.5 C for 0.25. With n = 80 the four leaves of face 0 come in the order
// (A, AB, CA), (AB, B, BC), (CA, BC, C), (BC, CA, AB).
TEST(Icosahedron, ConstantRandomValuesPickFixedPointsOfEachLeafInLeafOrder) {
  Collector zeros, quarters, leaves;
  CountingRng zero(0.0f), quarter(0.25f);
  GeIcosahedron::getStratifiedSamples(20, zeros, zero);
  GeIcosahedron::getStratifiedSamples(20, quarters, quarter);
  GeIcosahedron::getStratifiedSamples(80, leaves, zero);
  for (int f = 0; f < 20; ++f) {
    V a, b, c;
    GeIcosahedron::getFace(f, a, b, c);
    const V expected[] = {normalized(c),
                          normalized(a * 0.25f + b * 0.25f + c * 0.5f),
                          normalized((c + a) * 0.5f),
                          normalized((b + c) * 0.5f),
                          normalized(c),
                          normalized((a + b) * 0.5f)};
    const V got[] = {zeros.samples[f],          quarters.samples[f],
                     leaves.samples[4 * f],     leaves.samples[4 * f + 1],
                     leaves.samples[4 * f + 2], leaves.samples[4 * f + 3]};
    for (int s = 0; s < 6; ++s) {
      EXPECT_NEAR((got[s] - expected[s]).length(), 0.0f, 1e-7f) << "face " << f << " case " << s;
    }
  }
}
