#include <vezODedizezivuz/geTolerances.h>
#include <vezODedizezivuz/version.h>
#include <vezODedizezivuz/vezODedizezivuzPackage.h>

#include <gtest/gtest.h>

#include <cstring>
#include <typeinfo>

namespace {

using namespace Vo;

// A host links the library by using it; a linker that drops unused libraries (--as-needed)
// would otherwise leave this test without the library and its packages.
[[maybe_unused]] const GeTolerances linkTheLibrary;

const InPackageInit* package(const char* name) {
  for (const InPackageInit* p : InPackageInit::getRegisteredPackages()) {
    if (std::strcmp(p->getName(), name) == 0) return p;
  }
  return nullptr;
}

TEST(Packages, TheThreePackagesAreRegisteredInLoadOrder) {
  const auto& packages = InPackageInit::getRegisteredPackages();
  const std::type_info* types[] = {InInit<VoInit::color>::getType(),
                                   InInit<VoInit::geometry>::getType(),
                                   InInit<VoInit::primitives>::getType()};
  ASSERT_EQ(packages.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const InPackageInit& registered = *packages[i];
    EXPECT_TRUE(typeid(registered) == *types[i] && registered.isInitialized())
        << registered.getName();
  }
}

// Each dependency is provided by the base libraries or by a package registered earlier, so one
// sweep in registration order initialises them all; the primitives need the other two.
TEST(Packages, DependenciesComeBeforeTheirPackages) {
  const auto& packages = InPackageInit::getRegisteredPackages();
  for (std::size_t i = 0; i < packages.size(); ++i) {
    for (const std::type_info* dependency : packages[i]->getDependencies()) {
      bool earlier = *dependency == *InInit<VoInit::base>::getType() ||
                     *dependency == *InInit<VoInit::resmgt>::getType();
      for (std::size_t j = 0; j < i; ++j) {
        const InPackageInit& registered = *packages[j];
        earlier = earlier || typeid(registered) == *dependency;
      }
      EXPECT_TRUE(earlier) << packages[i]->getName() << " needs " << dependency->name();
    }
  }
}

TEST(Packages, PackageStateIsAFlagPerPackage) {
  auto* color = const_cast<InPackageInit*>(package("color"));
  ASSERT_NE(color, nullptr);
  color->setPackageState(true);
  EXPECT_TRUE(InInit<VoInit::color>::getPackageState());
  EXPECT_FALSE(InInit<VoInit::geometry>::getPackageState());
  color->setPackageState(false);
  EXPECT_FALSE(InInit<VoInit::color>::getPackageState());
}

TEST(BuildInfo, TheRecordCarriesTheVersionOfTheVersionHeader) {
  const auto infos = DbgBuildInfoUtil::getRegisteredInfos();
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_EQ(infos[0]->getMajorVersion(), VO_VERSION_MAJOR);
  EXPECT_EQ(infos[0]->getMinorVersion(), VO_VERSION_MINOR);
}

// Packages made by a host: registered after the library's, each initialised only once its
// dependencies are (even one registered later), and gone from the registry when destroyed.
struct hostPackage {};
struct laterPackage {};

struct Dependent : InInit<hostPackage> {
  Dependent() : InInit<hostPackage>("host", {InInit<laterPackage>::getType()}) {}
  void initializePackage() override { dependencyWasReady = dependency->isInitialized(); }
  const InPackageInit* dependency = nullptr;
  bool dependencyWasReady = false;
};

TEST(Packages, HostPackagesInitialiseAfterTheirDependenciesAndLeaveTheRegistry) {
  {
    Dependent host;
    InInit<laterPackage> later("later", {InInit<VoInit::primitives>::getType()});
    host.dependency = &later;
    ASSERT_EQ(InPackageInit::getRegisteredPackages().size(), 5u);
    EXPECT_EQ(InPackageInit::getRegisteredPackages().back(), &later);
    EXPECT_EQ(InPackageInit::initializePackages(), 2);
    EXPECT_TRUE(host.isInitialized() && host.dependencyWasReady);
    EXPECT_EQ(InPackageInit::initializePackages(), 0);
  }
  EXPECT_EQ(InPackageInit::getRegisteredPackages().size(), 3u);
  EXPECT_EQ(DbgBuildInfoUtil::getRegisteredInfos().size(), 1u);
}

}  // namespace
