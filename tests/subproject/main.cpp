// Linked statically: the library's packages and build-information record must still register
// themselves before main, although nothing of the host refers to them.
#include <vezODedizezivuz/vezODedizezivuz.h>

#include <cstring>
#include <iostream>

int main() {
  using namespace Vo;
  const auto infos = DbgBuildInfoUtil::getRegisteredInfos();
  const bool ok = InPackageInit::getRegisteredPackages().size() == 3 && infos.size() == 1 &&
                  std::strcmp(infos[0]->getLibraryName(true), "vezODedizezivuz") == 0;
  std::cout << "static host: packages registered" << (ok ? " ok" : " FAILED") << '\n';
  return ok ? 0 : 1;
}
