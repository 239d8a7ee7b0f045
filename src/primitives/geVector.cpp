#include <vezODedizezivuz/geVector.h>

namespace Vo {

namespace {

// Writes "(c0, c1[, c2[, c3]])" through the stream's own inserter for T.
template <class T, int N>
std::ostream& writeTuple(std::ostream& s, const T (&c)[N]) {
  s << '(' << c[0];
  for (int i = 1; i < N; ++i) s << ", " << c[i];
  return s << ')';
}

// Extracts '(' c0 ',' c1 [',' c2] ')' without stopping at the first failure: a failed
// extraction leaves the stream failed, so the later ones do nothing. The tuple is accepted when
// the stream is neither failed nor bad and every delimiter matched; end of file alone is fine.
// On rejection the fail bit is added (raising if the caller enabled exceptions for it).
template <class T, int N>
bool readTuple(std::istream& s, T (&c)[N]) {
  char open = 0;
  char separators[N - 1] = {};
  char close = 0;
  s >> open >> c[0];
  for (int i = 1; i < N; ++i) s >> separators[i - 1] >> c[i];
  s >> close;
  bool accepted = !s.fail() && open == '(' && close == ')';
  for (char separator : separators) accepted = accepted && separator == ',';
  if (!accepted) s.setstate(std::ios::failbit);
  return accepted;
}

// v becomes the point or vector of the tuple read, or stays as it was when the tuple is rejected.
// The text members below are then one-line forwards per type, kept here to compile them once.
template <class V, class T>
std::istream& readInto(std::istream& s, V& v) {
  T c[3];
  if (readTuple(s, c)) v = V(c[0], c[1], c[2]);
  return s;
}
template <class V, class T>
std::istream& readInto2(std::istream& s, V& v) {
  T c[2];
  if (readTuple(s, c)) v = V(c[0], c[1]);
  return s;
}

}  // namespace

template <class T>
std::ostream& GeVector3<T>::dump(std::ostream& s) const {
  const T c[3] = {x, y, z};
  return writeTuple(s, c);
}

template <class T>
std::istream& GeVector3<T>::read(std::istream& s) {
  return readInto<GeVector3, T>(s, *this);
}

template <class T>
std::ostream& GePoint3<T>::dump(std::ostream& s) const {
  const T c[3] = {x, y, z};
  return writeTuple(s, c);
}

template <class T>
std::istream& GePoint3<T>::read(std::istream& s) {
  return readInto<GePoint3, T>(s, *this);
}

template <class T>
std::istream& GeUnitVector3<T>::read(std::istream& s) {
  T c[3];
  if (readTuple(s, c)) setNormalized(c[0], c[1], c[2]);
  return s;
}

template <class T>
std::ostream& GeVector2<T>::dump(std::ostream& s) const {
  const T c[2] = {x, y};
  return writeTuple(s, c);
}

template <class T>
std::istream& GeVector2<T>::read(std::istream& s) {
  return readInto2<GeVector2, T>(s, *this);
}

template <class T>
std::ostream& GePoint2<T>::dump(std::ostream& s) const {
  const T c[2] = {x, y};
  return writeTuple(s, c);
}

template <class T>
std::istream& GePoint2<T>::read(std::istream& s) {
  return readInto2<GePoint2, T>(s, *this);
}

template <class T>
std::istream& GeUnitVector2<T>::read(std::istream& s) {
  T c[2];
  if (readTuple(s, c)) setNormalized(c[0], c[1]);
  return s;
}

template <class T>
std::ostream& GeHomogeneousCoord3<T>::dump(std::ostream& s) const {
  const T c[4] = {x, y, z, w};
  return writeTuple(s, c);
}

template class GeVector3<float>;
template class GeVector3<double>;
template class GePoint3<float>;
template class GePoint3<double>;
template class GeUnitVector3<float>;
template class GeUnitVector3<double>;
template class GeVector2<float>;
template class GeVector2<double>;
template class GePoint2<float>;
template class GePoint2<double>;
template class GeUnitVector2<float>;
template class GeUnitVector2<double>;
template class GeHomogeneousCoord3<float>;
template class GeHomogeneousCoord3<double>;
template std::ostream& GeVector2<int>::dump(std::ostream&) const;
template std::istream& GeVector2<int>::read(std::istream&);
template std::ostream& GePoint2<int>::dump(std::ostream&) const;
template std::istream& GePoint2<int>::read(std::istream&);

}  // namespace Vo
