// The vectorised conversions against their former scalar forms, written out here: Euler angles
// to matrix in float (all 24 conventions, through the run-time choice of kernel), quaternion to
// matrix in float and RGB to HSV in both precisions, each on two million seeded adversarial
// inputs. Results must agree bit for bit; differences confined to the sign or payload of a NaN
// are counted apart, since IEEE arithmetic leaves those open. Exit status 0 when nothing else
// differs.

#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/geQuaternion3.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <utility>

using namespace Vo;

namespace {

constexpr int inputs = 2000000;

template <class T>
bool sameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

struct Tally {
  const char* name;
  long long compared = 0, nanOnly = 0, differ = 0;
  template <class T>
  void add(const T* got, const T* want, int n) {
    ++compared;
    bool nan = false, other = false;
    for (int k = 0; k < n; ++k) {
      if (sameBits(got[k], want[k])) continue;
      (std::isnan(got[k]) && std::isnan(want[k]) ? nan : other) = true;
    }
    if (other) {
      if (++differ <= 5) std::printf("%s: difference at input %lld\n", name, compared - 1);
    } else if (nan) {
      ++nanOnly;
    }
  }
  void report() const {
    std::printf("%-22s %lld inputs, %lld differ only in a NaN's sign or payload, %lld differ\n",
                name, compared, nanOnly, differ);
  }
};

// Angles and colour components that reach every branch and rounding case: ordinary values,
// multiples of π/2 and numbers just beside them, ties, signed zeros, subnormals, huge values,
// infinities and NaN.
template <class T>
T adversarial(std::mt19937_64& rng) {
  std::uniform_int_distribution<int> pick(0, 11);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  using L = std::numeric_limits<T>;
  const int kind = pick(rng);
  const double u = unit(rng), quarterTurns = std::round(u * 8) * 1.5707963267948966;
  const T turns = T(quarterTurns), tiny = L::denorm_min() * T(1 + (rng() & 1023));
  const T sign = T(u < 0 ? -1 : 1), quarters = T(std::round(u * 4) / 4);
  const T values[] = {T(u * 4),
                      T(u),
                      T(u * 5000),
                      T(u * 1e30),
                      quarters,
                      T(0.5),
                      turns,
                      std::nextafter(turns, L::infinity()),
                      std::copysign(T(0), sign),
                      tiny,
                      sign * L::infinity(),
                      L::quiet_NaN()};
  return values[kind];
}

// The former Euler angles to matrix: three system sines and cosines in double.
void formerEulerToMatrix(float* m, int convention, float a, float b, float c) {
  static const int next[4] = {1, 2, 0, 1};
  const int i = convention & 15;
  const bool odd = (convention & 16) != 0, rep = (convention & 32) != 0,
             rotating = (convention & 64) != 0;
  const int j = next[i + (odd ? 1 : 0)], k = next[i + 1 - (odd ? 1 : 0)];
  float ti = a, tj = b, th = c;
  if (rotating) std::swap(ti, th);
  if (odd) {
    ti = -ti;
    tj = -tj;
    th = -th;
  }
  const auto sn = [](float t) { return static_cast<float>(std::sin(static_cast<double>(t))); };
  const auto cs = [](float t) { return static_cast<float>(std::cos(static_cast<double>(t))); };
  const float si = sn(ti), sj = sn(tj), sh = sn(th), ci = cs(ti), cj = cs(tj), ch = cs(th);
  const float cc = ci * ch, csv = ci * sh, sc = si * ch, ss = si * sh;
  // Row by row in the axes i, j, k: one matrix for distinct axes, one for a repeated one.
  const float distinct[9] = {cj * ch,       sj * sc - csv, sj * cc + ss, cj * sh, sj * ss + cc,
                             sj * csv - sc, -sj,           cj * si,      cj * ci};
  const float repeated[9] = {cj,       sj * si,       sj * ci,
                             sj * sh,  -cj * ss + cc, -cj * csv - sc,
                             -sj * ch, cj * sc + csv, cj * cc - ss};
  const int axis[3] = {i, j, k};
  for (int e = 0; e < 9; ++e) m[3 * axis[e / 3] + axis[e % 3]] = (rep ? repeated : distinct)[e];
}

// The former RGB to HSV: two scalar divisions per hue.
template <class T>
void formerRgbToHsv(T r, T g, T b, T* out) {
  T max = r;
  if (g > max) max = g;
  if (b > max) max = b;
  T min = r;
  if (min > g) min = g;
  if (min > b) min = b;
  if (min >= max) {
    out[0] = out[1] = T(0);
    out[2] = max;
    return;
  }
  const T delta = max - min;
  const T s = delta / max;
  T h = T(0);
  if (r == max) {
    h = (max - b) / delta - (max - g) / delta;
    if (h < T(0)) h += T(6);
  } else if (g == max) {
    h = T(2) + (max - r) / delta - (max - b) / delta;
  } else if (b == max) {
    h = T(4) + (max - g) / delta - (max - r) / delta;
  }
  out[0] = static_cast<T>(static_cast<double>(h) * 60.0);
  out[1] = s;
  out[2] = max;
}

// The former quaternion to matrix, element by element in scalar float.
void formerQuaternionToMatrix(const float (&q)[4], float* m) {
  const float x = q[0], y = q[1], z = q[2], w = q[3];
  const float n = x * x + y * y + z * z + w * w;
  const float s = n > 0.0f ? 2.0f / n : 0.0f;
  const float xs = x * s, ys = y * s, zs = z * s;
  const float wx = w * xs, wy = w * ys, wz = w * zs;
  const float xx = x * xs, xy = x * ys, xz = x * zs;
  const float yy = y * ys, yz = y * zs, zz = z * zs;
  m[0] = 1.0f - (yy + zz);
  m[1] = xy - wz;
  m[2] = xz + wy;
  m[3] = xy + wz;
  m[4] = 1.0f - (xx + zz);
  m[5] = yz - wx;
  m[6] = xz - wy;
  m[7] = yz + wx;
  m[8] = 1.0f - (xx + yy);
}

void checkQuaternionToMatrix(Tally& tally, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int n = 0; n < inputs; ++n) {
    float q[4];
    // Half the components span every binade, so that the squared norm overflows, underflows
    // to zero or to a subnormal, or is exactly zero with a non-zero component.
    for (float& c : q) {
      c = rng() & 1 ? adversarial<float>(rng)
                    : static_cast<float>(unit(rng) * std::ldexp(1.0, int(rng() % 300) - 150));
    }
    GeLinearMatrix3<float> got;
    GeQuaternion3<float>(q[0], q[1], q[2], q[3]).getMatrix(got);
    float want[9], have[9];
    formerQuaternionToMatrix(q, want);
    for (int k = 0; k < 9; ++k) have[k] = got(k / 3, k % 3);
    tally.add(have, want, 9);
  }
}

template <class T>
void checkRgbToHsv(Tally& tally, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  for (int n = 0; n < inputs; ++n) {
    T c[3];
    for (T& x : c) x = adversarial<T>(rng);
    // Ties between components are the branch-deciding case.
    if (n % 4 == 1) c[rng() % 3] = c[rng() % 3];
    const CoHsvColorT<T> got = CoHsvColorT<T>::convertFromRgb(CoRgbColorT<T>(c[0], c[1], c[2]));
    T want[3];
    formerRgbToHsv(c[0], c[1], c[2], want);
    const T have[3] = {got[0], got[1], got[2]};
    tally.add(have, want, 3);
  }
}

}  // namespace

int main() {
  Tally euler{"eulerf_tomat3"}, quat{"quatf_tomat3"}, hsvf{"color3f_rgb2hsv"},
      hsvd{"color3d_rgb2hsv"};
  std::mt19937_64 rng(14);
  for (int n = 0; n < inputs; ++n) {
    const int convention = static_cast<int>(rng() % 3) | (static_cast<int>(rng() % 8) << 4);
    float a[3];
    for (float& x : a) x = adversarial<float>(rng);
    GeLinearMatrix3<float> got;
    GeQuaternion3<float>::eulerToMatrix(
        got, static_cast<GeQuaternion3<float>::EulerConvention>(convention), a[0], a[1], a[2]);
    float want[9];
    formerEulerToMatrix(want, convention, a[0], a[1], a[2]);
    float have[9];
    for (int k = 0; k < 9; ++k) have[k] = got(k / 3, k % 3);
    euler.add(have, want, 9);
  }
  checkQuaternionToMatrix(quat, 17);
  checkRgbToHsv<float>(hsvf, 15);
  checkRgbToHsv<double>(hsvd, 16);
  euler.report();
  quat.report();
  hsvf.report();
  hsvd.report();
  return euler.differ + quat.differ + hsvf.differ + hsvd.differ == 0 ? 0 : 1;
}
