#include <vezODedizezivuz/geTolerances.h>
#include <vezODedizezivuz/version.h>
#include <vezODedizezivuz/vezODedizezivuzPackage.h>

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
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
  ASSERT_EQ(packages.size(), 3u);
  EXPECT_STREQ(packages[0]->getName(), "color");
  EXPECT_STREQ(packages[1]->getName(), "geometry");
  EXPECT_STREQ(packages[2]->getName(), "primitives");
  const InPackageInit& first = *packages[0];
  const InPackageInit& last = *packages[2];
  EXPECT_EQ(typeid(first), *InInit<VoInit::color>::getType());
  EXPECT_EQ(typeid(last), *InInit<VoInit::primitives>::getType());
  for (const InPackageInit* p : packages) EXPECT_TRUE(p->isInitialized()) << p->getName();
}

TEST(Packages, DependenciesAreRecordedInOrder) {
  const auto* color = package("color");
  const auto* geometry = package("geometry");
  const auto* primitives = package("primitives");
  ASSERT_TRUE(color && geometry && primitives);
  ASSERT_EQ(color->getDependencies().size(), 1u);
  EXPECT_EQ(*color->getDependencies()[0], *InInit<VoInit::base>::getType());
  ASSERT_EQ(geometry->getDependencies().size(), 1u);
  EXPECT_EQ(*geometry->getDependencies()[0], *InInit<VoInit::base>::getType());
  const auto& deps = primitives->getDependencies();
  ASSERT_EQ(deps.size(), 4u);
  EXPECT_EQ(*deps[0], *InInit<VoInit::color>::getType());
  EXPECT_EQ(*deps[1], *InInit<VoInit::geometry>::getType());
  EXPECT_EQ(*deps[2], *InInit<VoInit::resmgt>::getType());
  EXPECT_EQ(*deps[3], *InInit<VoInit::base>::getType());
  EXPECT_NE(*InInit<VoInit::base>::getType(), *InInit<VoInit::resmgt>::getType());
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

TEST(BuildInfo, TheLibraryRecordIsRegisteredWithItsStrings) {
  const auto infos = DbgBuildInfoUtil::getRegisteredInfos();
  ASSERT_EQ(infos.size(), 1u);
  const DbgBuildInfo& info = *infos[0];
  EXPECT_STREQ(info.getProjectName(), "Kernite");
  EXPECT_EQ(info.getMajorVersion(), VO_VERSION_MAJOR);
  EXPECT_EQ(info.getMinorVersion(), VO_VERSION_MINOR);
  EXPECT_STREQ(info.getReleaseStage(), "pre-alpha");
  EXPECT_STREQ(info.getLibraryName(true), "vezODedizezivuz");
  EXPECT_STREQ(info.getBuildLabel(true), "Velmora-Kernite_187");
  EXPECT_STREQ(info.getBuildLabel(false), "V. 187");
  EXPECT_STREQ(info.getBuildConfiguration(false), "WinNT_ostore_release");
  EXPECT_STREQ(info.getExtraInfo(false), "[Information not available]");
  EXPECT_GT(std::strlen(info.getBuildUser(false)), 0u);
}

TEST(BuildInfo, BuildDateHasTheMonthDayYearForm) {
  const auto infos = DbgBuildInfoUtil::getRegisteredInfos();
  ASSERT_EQ(infos.size(), 1u);
  const std::string date = infos[0]->getBuildDate(false);
  ASSERT_EQ(date.size(), 11u) << date;
  std::tm parsed{};
  EXPECT_NE(strptime(date.c_str(), "%b %d %Y", &parsed), nullptr) << date;
  EXPECT_TRUE(date[4] == ' ' || (date[4] >= '1' && date[4] <= '3')) << date;
  EXPECT_GE(parsed.tm_year + 1900, 2026);
}

// A package made by a host: registered after the library's, initialised once its dependencies
// are, and gone from the registry when destroyed.
struct hostPackage {};

TEST(Packages, AHostPackageJoinsAndLeavesTheRegistry) {
  {
    InInit<hostPackage> host("host", {InInit<VoInit::primitives>::getType()});
    ASSERT_EQ(InPackageInit::getRegisteredPackages().size(), 4u);
    EXPECT_EQ(InPackageInit::getRegisteredPackages().back(), &host);
    EXPECT_EQ(InPackageInit::initializePackages(), 1);
    EXPECT_TRUE(host.isInitialized());
    EXPECT_EQ(InPackageInit::initializePackages(), 0);
  }
  EXPECT_EQ(InPackageInit::getRegisteredPackages().size(), 3u);
  EXPECT_EQ(DbgBuildInfoUtil::getRegisteredInfos().size(), 1u);
}

}  // namespace
