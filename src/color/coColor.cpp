#include <vezODedizezivuz/coColor.h>

namespace Vo {

namespace {

template <class T>
std::ostream& writeTriple(std::ostream& os, const T& c0, const T& c1, const T& c2) {
  return os << c0 << ' ' << c1 << ' ' << c2;
}

// Reads all three before deciding: end of input right after the third number is accepted,
// a failed or bad stream is not.
template <class T>
bool readTriple(std::istream& is, T (&c)[3]) {
  is >> c[0] >> c[1] >> c[2];
  return !is.fail() && !is.bad();
}

// color becomes the triple read, or stays as it was when the triple is rejected. The text
// members below are then one-line forwards per colour type, kept here to compile them once.
template <class Color, class T>
std::istream& readInto(std::istream& is, Color& color) {
  T in[3];
  if (readTriple(is, in)) color = Color(in[0], in[1], in[2]);
  return is;
}

}  // namespace

template <class T>
std::ostream& CoRgbColorT<T>::dump(std::ostream& os) const {
  return writeTriple(os, c[0], c[1], c[2]);
}

template <class T>
std::istream& CoRgbColorT<T>::read(std::istream& is) {
  return readInto<CoRgbColorT, T>(is, *this);
}

template <class T>
std::ostream& CoHsvColorT<T>::dump(std::ostream& os) const {
  return writeTriple(os, c[0], c[1], c[2]);
}

template <class T>
std::istream& CoHsvColorT<T>::read(std::istream& is) {
  return readInto<CoHsvColorT, T>(is, *this);
}

template <class T>
std::ostream& CoSpectrumT<T>::dump(std::ostream& os) const {
  return writeTriple(os, c[0], c[1], c[2]);
}

template <class T>
std::istream& CoSpectrumT<T>::read(std::istream& is) {
  return readInto<CoSpectrumT, T>(is, *this);
}

template class CoRgbColorT<float>;
template class CoRgbColorT<double>;
template class CoHsvColorT<float>;
template class CoHsvColorT<double>;
template class CoSpectrumT<float>;
template class CoSpectrumT<double>;

}  // namespace Vo
