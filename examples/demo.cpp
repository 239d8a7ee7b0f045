// A first look at the library: vectors, tolerances, intervals and the build record that the
// library registered with its base library when it was loaded.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <iostream>
#include <sstream>

int main() {
  using namespace Vo;

  const GePoint3<float> eye(0, 2, 10);
  const GePoint3<float> target(1, 0, 0);
  const GeUnitVector3<float> view(target - eye);
  const GeVector3<float> right = cross(view, GeVector3<float>(0, 1, 0));
  std::cout << "eye " << eye << " looks along " << view << ", right " << right << '\n';

  GePoint3<double> parsed(0, 0, 0);
  std::istringstream text("( 1.5 , -2 , 0.25 )");
  parsed.read(text);
  std::cout << "read " << parsed << (text.fail() ? " (rejected)" : "") << '\n';

  const GeTolerances tolerances;
  std::cout << "1.0 vs 1.0004 within " << tolerances.getLengthTolerance() << ": "
            << tolerances.compareLength(1.0f, 1.0004f) << '\n';

  Interval<float> range = Interval<float>::makeEmpty();
  for (float v : {3.0f, -1.0f, 2.0f}) range.extendBy(v);
  std::cout << "range " << range << " against [0, 5]: "
            << (range.classify(Interval<float>(0, 5)) == Interval<float>::OVERLAPPING
                    ? "overlapping"
                    : "other")
            << '\n';

  for (const DbgBuildInfo* info : DbgBuildInfoUtil::getRegisteredInfos()) {
    std::cout << info->getLibraryName(true) << ' ' << info->getMajorVersion() << '.'
              << info->getMinorVersion() << ' ' << info->getReleaseStage() << ", built "
              << info->getBuildDate(false) << " by " << info->getBuildUser(false) << '\n';
  }
  return 0;
}
