// Culling a scene against a camera, the job this library is linked for.
//
// The demo builds a perspective camera from a projection, an aimed rotation and a translation,
// turns it into a view frustum, and classifies a reproducible city of boxes one box at a time and
// with the batch path, which must agree box for box. Among the visible boxes it then asks a few
// shafts what stands between two objects, and back-face-culls clusters of surface elements with
// culling cones built from their normals and positions. With --svg it draws the top view.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace Vo;
using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;

struct Options {
  std::size_t boxes = 200000;
  std::uint32_t seed = 1;
  std::string svg;
};

const char* const usage =
    "usage: demo [--boxes N] [--seed S] [--svg FILE] [--help]\n"
    "  --boxes N   number of boxes in the scene (1 to 50000000, default 200000)\n"
    "  --seed S    seed of the scene (0 to 4294967295, default 1)\n"
    "  --svg FILE  also write a top view of the camera and the classified boxes\n";

// Parses a whole decimal number in [low, high]; false on anything else.
bool parseNumber(const char* text, unsigned long long low, unsigned long long high,
                 unsigned long long& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < low || v > high) return false;
  value = v;
  return true;
}

// Returns 0 to go on, or the exit status: 0 after --help, 2 on a bad option.
int parseOptions(int argc, char** argv, Options& options, bool& done) {
  done = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    unsigned long long n = 0;
    if (arg == "--help" || arg == "-h") {
      std::cout << usage;
      done = true;
      return 0;
    } else if (arg == "--boxes") {
      if (!parseNumber(value, 1, 50000000, n)) {
        std::cerr << "demo: --boxes needs a whole number from 1 to 50000000\n" << usage;
        return 2;
      }
      options.boxes = static_cast<std::size_t>(n);
      ++i;
    } else if (arg == "--seed") {
      if (!parseNumber(value, 0, 4294967295ull, n)) {
        std::cerr << "demo: --seed needs a whole number from 0 to 4294967295\n" << usage;
        return 2;
      }
      options.seed = static_cast<std::uint32_t>(n);
      ++i;
    } else if (arg == "--svg") {
      if (value == nullptr || *value == '\0') {
        std::cerr << "demo: --svg needs a file name\n" << usage;
        return 2;
      }
      options.svg = value;
      ++i;
    } else {
      std::cerr << "demo: unknown option '" << arg << "'\n" << usage;
      return 2;
    }
  }
  return 0;
}

// ---- The camera ----

const GePoint3<float> eye(-220.0f, 45.0f, 320.0f);
const GePoint3<float> target(40.0f, 0.0f, -60.0f);

// Projection · rotation · translation: the translation moves the eye to the origin, the aimed
// rotation turns the backward direction (eye − target) onto +z and "up" towards +y, as the
// projection expects a camera that looks along −z.
GeProjectiveMatrix3<float> makeCamera() {
  const GeProjectiveMatrix3<float> projection =
      GeCameraBuilder<float>::makePerspective(1.0f, 1.0f, 700.0f, 16.0f / 9.0f);
  const GeRotation3<float> rotation = GeRotation3<float>::aim(
      GeUnitVector3<float>(eye - target), GeVector3<float>(0, 1, 0), zAxis, yAxis, true);
  const GeTranslation3<float> toEye(-eye.toVector());
  return projection * toEye.mulOnRight(rotation);
}

// ---- The scene: a city of boxes on a 1200 x 1200 ground, some floating ----

std::vector<Box> makeScene(std::size_t count, std::uint32_t seed) {
  RnDefaultRng<float> rng(seed);
  std::vector<Box> boxes;
  boxes.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const float x = (rng() - 0.5f) * 1200.0f;
    const float z = (rng() - 0.5f) * 1200.0f;
    const float width = 1.0f + 9.0f * rng();
    const float depth = 1.0f + 9.0f * rng();
    const float height = 1.0f + 30.0f * rng() * rng();
    const float base = rng() < 0.1f ? 20.0f * rng() : 0.0f;
    boxes.emplace_back(GePoint3<float>(x, base, z),
                       GePoint3<float>(x + width, base + height, z + depth));
  }
  return boxes;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of a few runs, in seconds, so that one interruption does not decide the figure.
template <class Run>
double bestTime(Run run) {
  double best = 1e30;
  for (int repeat = 0; repeat < 5; ++repeat) {
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(best, secondsSince(start));
  }
  return best;
}

Box centreBox(const Box& b) { return Box(b.getCenter()); }

// ---- Back-face culling of clusters ----

// A cluster of surface elements on a box: positions on the box, normals within about 25 degrees
// of a main direction.
struct Cluster {
  std::vector<GePoint3<float>> positions;
  std::vector<GeUnitVector3<float>> normals;
};

Cluster makeCluster(const Box& box, RnDefaultRng<float>& rng) {
  Cluster c;
  GeUnitVector3<float> main(GeVector3<float>(0, 0, 1));
  main.setNormalized(rng() - 0.5f, rng() - 0.5f, rng() - 0.5f);
  for (int k = 0; k < 16; ++k) {
    c.positions.emplace_back(box.x.min + (box.x.max - box.x.min) * rng(),
                             box.y.min + (box.y.max - box.y.min) * rng(),
                             box.z.min + (box.z.max - box.z.min) * rng());
    const GeVector3<float> tilt((rng() - 0.5f) * 0.8f, (rng() - 0.5f) * 0.8f,
                                (rng() - 0.5f) * 0.8f);
    c.normals.emplace_back(GeVector3<float>(main) + tilt);
  }
  return c;
}

// ---- Top view ----

void writeSvg(const std::string& file, const Frustum& frustum, const std::vector<Box>& boxes,
              const std::vector<Frustum::Classification>& classes) {
  std::ofstream out(file);
  if (!out) {
    std::cerr << "demo: cannot write " << file << '\n';
    std::exit(1);
  }
  // Corner k is on the high x, y, z planes for bits 0, 1, 2 of k.
  const std::array<GePoint3<float>, 8> corner = frustum.getCorners();
  // Seen from above (x to the right, z downwards), framing the ground and the frustum.
  Interval<float> xs(-600.0f, 610.0f), zs(-600.0f, 610.0f);
  for (const GePoint3<float>& c : corner) {
    xs.extendBy(c.x);
    zs.extendBy(c.z);
  }
  const float size = 800.0f;
  const float scale = size / std::max(xs.max - xs.min, zs.max - zs.min);
  auto sx = [&](float x) { return (x - xs.min) * scale; };
  auto sz = [&](float z) { return (z - zs.min) * scale; };
  const float width = sx(xs.max), height = sz(zs.max);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\""
      << height + 40 << "\" viewBox=\"0 0 " << width << ' ' << height + 40 << "\">\n"
      << "<title>Top view: boxes classified against the camera</title>\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  // At most 20000 boxes, evenly spread over the scene, keep the picture light.
  const std::size_t step = std::max<std::size_t>(1, boxes.size() / 20000);
  const char* colour[4] = {"black", "#c8c8c8", "#2a9d3a", "#f28e1c"};
  out << std::fixed << std::setprecision(1);
  for (std::size_t i = 0; i < boxes.size(); i += step) {
    const Box& b = boxes[i];
    out << "<rect x=\"" << sx(b.x.min) << "\" y=\"" << sz(b.z.min) << "\" width=\""
        << std::max(0.5f, sx(b.x.max) - sx(b.x.min)) << "\" height=\""
        << std::max(0.5f, sz(b.z.max) - sz(b.z.min)) << "\" fill=\"" << colour[classes[i]]
        << "\"/>\n";
  }
  // Near and far quads and the four edges between them.
  const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                            {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
  for (const auto& e : edges) {
    out << "<line x1=\"" << sx(corner[e[0]].x) << "\" y1=\"" << sz(corner[e[0]].z) << "\" x2=\""
        << sx(corner[e[1]].x) << "\" y2=\"" << sz(corner[e[1]].z)
        << "\" stroke=\"#1f4e9e\" stroke-width=\"1.5\"/>\n";
  }
  out << "<circle cx=\"" << sx(eye.x) << "\" cy=\"" << sz(eye.z)
      << "\" r=\"4\" fill=\"#1f4e9e\"/>\n"
      << "<text x=\"10\" y=\"" << height + 25
      << "\" font-family=\"sans-serif\" font-size=\"14\">camera (blue), inside (green), "
         "intersecting (orange), outside (grey)</text>\n"
      << "</svg>\n";
}

// ---- The steps of the demo ----

// Classifies the scene one box at a time and in batches, reports both speeds and the counts,
// and returns the per-box answers; false in `agree` when the two paths disagree anywhere.
std::vector<Frustum::Classification> classifyScene(const Frustum& frustum,
                                                   const std::vector<Box>& boxes,
                                                   const Options& options, bool& agree) {
  std::vector<Frustum::Classification> scalar(boxes.size());
  std::vector<Frustum::Classification> batch(boxes.size());
  const double scalarSeconds = bestTime([&] {
    for (std::size_t i = 0; i < boxes.size(); ++i) scalar[i] = frustum.classify(boxes[i]);
  });
  const double batchSeconds =
      bestTime([&] { frustum.classify(boxes.data(), boxes.size(), batch.data()); });
  std::size_t count[4] = {};
  std::size_t disagreements = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    ++count[scalar[i]];
    disagreements += scalar[i] != batch[i];
  }
  const double n = static_cast<double>(boxes.size());
  // Padded so that the speeds line up whatever the path's name.
  const std::string batchLabel =
      std::string("batch (") + Frustum::pathName(Frustum::bestPath()) + "):";
  std::cout << "Scene of " << boxes.size() << " boxes (seed " << options.seed
            << "): " << count[Frustum::INSIDE] << " inside, " << count[Frustum::INTERSECTING]
            << " intersecting, " << count[Frustum::OUTSIDE] << " outside.\n"
            << std::fixed << std::setprecision(1)
            << "  one box at a time: " << n / scalarSeconds / 1e6 << " million boxes/s\n"
            << "  " << std::left << std::setw(19) << batchLabel << std::right
            << n / batchSeconds / 1e6 << " million boxes/s, " << scalarSeconds / batchSeconds
            << "x faster\n"
            << "  the two paths agree on " << boxes.size() - disagreements << " of " << boxes.size()
            << " boxes\n";
  agree = disagreements == 0;
  return scalar;
}

// Shafts between a few pairs of visible boxes: how many visible boxes could block the view.
void reportShafts(const std::vector<Box>& boxes, const std::vector<std::size_t>& visible) {
  std::cout << "Shafts between visible boxes (boxes in between may occlude):\n";
  const std::size_t pairs = std::min<std::size_t>(3, visible.size() / 2);
  for (std::size_t k = 0; k < pairs; ++k) {
    const Box& a = boxes[visible[k]];
    const Box& b = boxes[visible[visible.size() - 1 - k]];
    const GeShaft shaft(centreBox(a), centreBox(b));
    std::size_t between = 0;
    for (std::size_t i : visible) {
      if (&boxes[i] != &a && &boxes[i] != &b &&
          shaft.overlaps(boxes[i]) != Interval<float>::DISJOINT) {
        ++between;
      }
    }
    std::cout << "  box " << visible[k] << " to box " << visible[visible.size() - 1 - k] << ": "
              << between << " visible boxes meet the shaft\n";
  }
}

// Back-face culling of clusters on visible boxes with culling cones; returns how many culled
// elements faced the eye (0 unless the cones are wrong).
std::size_t cullClusters(const std::vector<Box>& boxes, const std::vector<std::size_t>& visible,
                         std::uint32_t seed) {
  RnDefaultRng<float> rng(seed ^ 0x9e3779b9u);
  GeFloatingConeBuilder normals;
  GeAnchoredConeBuilder positions;
  std::size_t clusters = 0, culled = 0, frontFacing = 0, wrong = 0;
  for (std::size_t k = 0; k < visible.size() && clusters < 2000; k += 7, ++clusters) {
    const Cluster c = makeCluster(boxes[visible[k]], rng);
    for (const GeUnitVector3<float>& normal : c.normals) normals(normal);
    for (const GePoint3<float>& p : c.positions) positions(p);
    const GeFloatingCone cone = normals.createCone();
    const GeCullingCones culling(positions.createCone(cone));
    positions.reset();
    if (culling.isBehind(eye)) {
      ++culled;
      // Every element of a culled cluster faces away from the eye.
      for (std::size_t e = 0; e < c.normals.size(); ++e) {
        wrong += dot(c.normals[e], eye - c.positions[e]) > 0.0f;
      }
    } else if (culling.isInFront(eye)) {
      ++frontFacing;
    }
  }
  std::cout << "Back-face culling of " << clusters << " clusters of 16 elements: " << culled
            << " culled whole, " << frontFacing << " wholly front-facing, "
            << clusters - culled - frontFacing << " need their elements tested; " << wrong
            << " culled elements faced the eye.\n";
  return wrong;
}

// The whole demo; false when a check failed (the message is written already).
bool run(const Options& options) {
  const Frustum frustum(makeCamera());
  std::cout << "Camera at " << eye << " looking at " << target
            << "; perspective with a 57-degree vertical field of view, near 1, far 700.\n";

  const std::vector<Box> boxes = makeScene(options.boxes, options.seed);
  bool agree = true;
  const std::vector<Frustum::Classification> classes =
      classifyScene(frustum, boxes, options, agree);
  if (!agree) {
    std::cerr << "demo: the batch path disagrees with the scalar path\n";
    return false;
  }

  std::vector<std::size_t> visible;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (classes[i] != Frustum::OUTSIDE) visible.push_back(i);
  }
  reportShafts(boxes, visible);
  if (cullClusters(boxes, visible, options.seed) != 0) return false;

  if (!options.svg.empty()) {
    writeSvg(options.svg, frustum, boxes, classes);
    std::cout << "Top view written to " << options.svg << '\n';
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  bool done = false;
  if (const int status = parseOptions(argc, argv, options, done); status != 0 || done) {
    return status;
  }
  try {
    return run(options) ? 0 : 1;
  } catch (const AssertionError& e) {
    std::cerr << "demo: " << e.what() << '\n';
    return 1;
  } catch (const std::bad_alloc&) {
    std::cerr << "demo: not enough memory for " << options.boxes << " boxes\n";
    return 1;
  }
}
