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

// Counts the calls and returns a constant, or the values of a seeded generator.
struct CountingRng : RnRng<float> {
  explicit CountingRng(float constant) : constant(constant), seeded(1) {}
  explicit CountingRng(std::uint32_t seed) : constant(-1), seeded(seed) {}
  float operator()() override {
    ++calls;
    return constant >= 0 ? constant : seeded();
  }
  float constant;
  RnDefaultRng<float> seeded;
  unsigned int calls = 0;
};

unsigned int perFace(unsigned int k) { return k < 4 ? k : 4 * perFace(k / 4); }

V normalized(const V& v) {
  V n = v;
  n.normalize();
  return n;
}

}  // namespace

TEST(Icosahedron, VertexConstantsAreBitExactAndUnitLength) {
  EXPECT_EQ(VoTest::bits(GeIcosahedron::_vertices[1][0]), 0x3F069650u);
  EXPECT_EQ(VoTest::bits(GeIcosahedron::_vertices[1][2]), 0x3F59C440u);
  for (int i = 0; i < GeIcosahedron::getNbVertices(); ++i) {
    V v;
    GeIcosahedron::getVertex(i, v);
    EXPECT_NEAR(v.length(), 1.0f, 1e-7f) << "vertex " << i;
  }
}

TEST(Icosahedron, EdgesAreExactlyTheClosestVertexPairs) {
  ASSERT_EQ(GeIcosahedron::getNbEdges(), 30);
  std::vector<std::pair<int, int>> close;
  for (int i = 0; i < 12; ++i) {
    for (int j = i + 1; j < 12; ++j) {
      V a, b;
      GeIcosahedron::getVertex(i, a);
      GeIcosahedron::getVertex(j, b);
      if ((a - b).length() < 1.1f) close.emplace_back(i, j);
    }
  }
  std::vector<std::pair<int, int>> edges;
  for (int e = 0; e < 30; ++e) {
    edges.emplace_back(GeIcosahedron::_edgeIndex[e][0], GeIcosahedron::_edgeIndex[e][1]);
    V a, b;
    GeIcosahedron::getEdge(e, a, b);
    EXPECT_NEAR((a - b).length(), 1.0514622f, 1e-6f) << "edge " << e;
  }
  for (const auto& e : edges) EXPECT_LT(e.first, e.second);
  std::sort(edges.begin(), edges.end());
  EXPECT_EQ(edges, close);
}

TEST(Icosahedron, FacesUseEdgesTwiceAndWindTowardsTheCentre) {
  ASSERT_EQ(GeIcosahedron::getNbFaces(), 20);
  int uses[30] = {};
  for (int f = 0; f < 20; ++f) {
    V a, b, c;
    GeIcosahedron::getFace(f, a, b, c);
    EXPECT_LT(dot(cross(b - a, c - a), a + b + c), 0.0f) << "face " << f;
    for (int k = 0; k < 3; ++k) {
      int i = GeIcosahedron::_faceIndex[f][k];
      int j = GeIcosahedron::_faceIndex[f][(k + 1) % 3];
      if (i > j) std::swap(i, j);
      for (int e = 0; e < 30; ++e) {
        if (GeIcosahedron::_edgeIndex[e][0] == i && GeIcosahedron::_edgeIndex[e][1] == j) ++uses[e];
      }
    }
  }
  for (int e = 0; e < 30; ++e) EXPECT_EQ(uses[e], 2) << "edge " << e;
}

TEST(Icosahedron, SampleCountsFollowTheSubdivisionRule) {
  const unsigned int listed[][2] = {{0, 0},    {19, 0},    {20, 20},   {60, 60},
                                    {100, 80}, {320, 320}, {1000, 960}};
  for (const auto& nAndCount : listed) {
    Collector out;
    CountingRng rng(0.5f);
    EXPECT_EQ(GeIcosahedron::getStratifiedSamples(nAndCount[0], out, rng), nAndCount[1])
        << "n = " << nAndCount[0];
    EXPECT_EQ(out.samples.size(), nAndCount[1]);
    EXPECT_EQ(rng.calls, 2 * nAndCount[1]);
  }
  for (unsigned int n = 0; n < 6000; n += 37) {
    Collector out;
    CountingRng rng(0.25f);
    const unsigned int count = GeIcosahedron::getStratifiedSamples(n, out, rng);
    EXPECT_EQ(count, 20 * perFace(n / 20)) << "n = " << n;
    EXPECT_LE(count, n);
    EXPECT_EQ(out.samples.size(), count);
  }
}

TEST(Icosahedron, ConstantRandomValuesPickFixedPointsOfEachLeaf) {
  Collector zeros;
  CountingRng zero(0.0f);
  GeIcosahedron::getStratifiedSamples(20, zeros, zero);
  Collector quarters;
  CountingRng quarter(0.25f);
  GeIcosahedron::getStratifiedSamples(20, quarters, quarter);
  for (int f = 0; f < 20; ++f) {
    V a, b, c;
    GeIcosahedron::getFace(f, a, b, c);
    const V atC = normalized(c);
    const V mix = normalized(a * 0.25f + b * 0.25f + c * 0.5f);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(zeros.samples[f][k], atC[k], 1e-7f) << "face " << f;
      EXPECT_NEAR(quarters.samples[f][k], mix[k], 1e-7f) << "face " << f;
    }
  }
}

TEST(Icosahedron, RandomSamplesAreUnitAndStayOnTheirFace) {
  for (unsigned int n : {20u, 95u, 333u, 1280u, 5000u}) {
    Collector out;
    CountingRng rng(static_cast<std::uint32_t>(n));
    const unsigned int count = GeIcosahedron::getStratifiedSamples(n, out, rng);
    const unsigned int each = count / 20;
    for (unsigned int s = 0; s < count; ++s) {
      const V& p = out.samples[s];
      EXPECT_NEAR(p.length(), 1.0f, 1e-6f) << "n = " << n << ", sample " << s;
      V a, b, c;
      GeIcosahedron::getFace(static_cast<int>(s / each), a, b, c);
      // Inside the cone over the face: on the inner side of the three planes through the centre.
      const float slack = -1e-6f;
      EXPECT_GE(dot(cross(b, a), p), slack) << "n = " << n << ", sample " << s;
      EXPECT_GE(dot(cross(c, b), p), slack) << "n = " << n << ", sample " << s;
      EXPECT_GE(dot(cross(a, c), p), slack) << "n = " << n << ", sample " << s;
    }
  }
}

TEST(Icosahedron, SamplesOfOneFaceComeOutLeafByLeaf) {
  // With k = 4 each of the four leaves gets one sample; with constant values each sample is the
  // same point of its leaf, so the four samples are the mapped corners of the sub-triangles.
  Collector out;
  CountingRng rng(0.0f);
  GeIcosahedron::getStratifiedSamples(80, out, rng);
  V a, b, c;
  GeIcosahedron::getFace(0, a, b, c);
  const V expected[4] = {normalized((c + a) * 0.5f), normalized((b + c) * 0.5f), normalized(c),
                         normalized((a + b) * 0.5f)};
  for (int s = 0; s < 4; ++s) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(out.samples[s][k], expected[s][k], 1e-7f) << s;
  }
}
