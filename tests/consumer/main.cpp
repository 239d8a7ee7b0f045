// A host that only converts colours: it calls the library's text output and nothing of the base
// library, so with --as-needed it records only vezODedizezivuz, and the loader must find the base
// library through the installed library itself. Exits non-zero if anything is off.
#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/version.h>  // installed beside the headers

#include <iostream>
#include <sstream>

int main() {
  const Vo::CoRgbColorT<double> orange(1.0, 0.5, 0.0);
  std::ostringstream text;
  text << Vo::CoHsvColorT<double>::convertFromRgb(orange);
  std::ostringstream expected;
  expected << Vo::CoHsvColorT<double>(30.0, 1.0, 1.0);
  const bool ok = text.str() == expected.str();
  std::cout << text.str() << " (" << VO_VERSION_STRING << ")" << (ok ? " ok" : " FAILED") << '\n';
  return ok ? 0 : 1;
}
