// Uses the installed headers and libraries; exits non-zero if anything is off.
#include <vezODedizezivuz/vezODedizezivuz.h>

#include <cstring>
#include <iostream>
#include <sstream>

int main() {
  using namespace Vo;
  const GeUnitVector3<double> u(GeVector3<double>(0, 3, 4));
  std::ostringstream text;
  text << u;
  const auto infos = DbgBuildInfoUtil::getRegisteredInfos();
  const bool ok = text.str() == "(0, 0.6, 0.8)" &&
                  InPackageInit::getRegisteredPackages().size() == 3 && infos.size() == 1 &&
                  std::strcmp(infos[0]->getLibraryName(true), "vezODedizezivuz") == 0;
  std::cout << text.str() << (ok ? " ok" : " FAILED") << '\n';
  return ok ? 0 : 1;
}
