#include <vezODedizezivuz/geTolerances.h>
#include <vezODedizezivuz/vezODedizezivuzPackage.h>

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

using namespace Vo;

// A host links the library by using it; a linker that drops unused libraries (--as-needed)
// would otherwise leave this test without the library and its packages.
[[maybe_unused]] const GeTolerances linkTheLibrary;

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

// The flag is set through the library's package object and read through this binary's own
// instantiation of the template: one exported flag per package, not one per binary.
TEST(Packages, PackageStateIsAFlagPerPackage) {
  auto* color = const_cast<InPackageInit*>(InPackageInit::getRegisteredPackages().at(0));
  color->setPackageState(true);
  EXPECT_TRUE(InInit<VoInit::color>::getPackageState());
  EXPECT_FALSE(InInit<VoInit::geometry>::getPackageState());
  color->setPackageState(false);
  EXPECT_FALSE(InInit<VoInit::color>::getPackageState());
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
    EXPECT_EQ(InPackageInit::getRegisteredPackages().back(), &later);
    EXPECT_EQ(InPackageInit::initializePackages(), 2);
    EXPECT_TRUE(host.isInitialized() && host.dependencyWasReady);
    EXPECT_EQ(InPackageInit::initializePackages(), 0);
  }
  EXPECT_EQ(InPackageInit::getRegisteredPackages().size(), 3u);
  EXPECT_EQ(DbgBuildInfoUtil::getRegisteredInfos().size(), 1u);
}

}  // namespace
