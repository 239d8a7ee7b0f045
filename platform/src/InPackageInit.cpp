#include <zevIRudez/DbgBuildInfo.h>
#include <zevIRudez/InPackageInit.h>

#include <algorithm>

namespace Vo {

namespace {

struct BuildInfoRecord {
  const InPackageInit* owner;  // null when registered outside a package's initialisation
  ObjPtr<DbgBuildInfo> info;
};

// One object for packages and records, made on the first registration. Being a function-local
// static that completes before the first package object does, it is destroyed after the last
// package object, so package destructors can still reach it at unload.
struct Registry {
  std::vector<const InPackageInit*> packages;
  std::vector<BuildInfoRecord> records;
  const InPackageInit* initializing = nullptr;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

bool isProvidedByBase(const std::type_info& type) {
  return type == *InInit<VoInit::base>::getType() || type == *InInit<VoInit::resmgt>::getType();
}

}  // namespace

InVariableBase::~InVariableBase() = default;
DbgBuildInfo::~DbgBuildInfo() = default;

InPackageInit::InPackageInit(const char* name) : name_(name) {}

InPackageInit::~InPackageInit() {
  if (!registered_) return;
  Registry& r = registry();
  r.packages.erase(std::remove(r.packages.begin(), r.packages.end(), this), r.packages.end());
  // Records die with the package that registered them, while its library is still loaded.
  r.records.erase(
      std::remove_if(r.records.begin(), r.records.end(),
                     [this](const BuildInfoRecord& record) { return record.owner == this; }),
      r.records.end());
}

void InPackageInit::addDependency(InVariableBase* variable) { variables_.push_back(variable); }

void InPackageInit::removeDependency(InVariableBase* variable) {
  variables_.erase(std::remove(variables_.begin(), variables_.end(), variable), variables_.end());
}

const char* InPackageInit::getName() const { return name_; }

void InPackageInit::registerPackage() {
  if (registered_) return;
  registry().packages.push_back(this);
  registered_ = true;
}

void InPackageInit::addDependency(const std::type_info* package) {
  dependencies_.push_back(package);
}

const std::vector<const InPackageInit*>& InPackageInit::getRegisteredPackages() {
  return registry().packages;
}

int InPackageInit::initializePackages() {
  Registry& r = registry();
  auto isSatisfied = [&r](const std::type_info* dependency) {
    if (isProvidedByBase(*dependency)) return true;
    return std::any_of(r.packages.begin(), r.packages.end(), [dependency](const InPackageInit* p) {
      return p->initialized_ && typeid(*p) == *dependency;
    });
  };
  int count = 0;
  for (bool progress = true; progress;) {
    progress = false;
    // Index loop: an initialising package may register further packages.
    for (std::size_t i = 0; i < r.packages.size(); ++i) {
      // The registry holds packages as const for its readers; the objects themselves are not.
      auto* package = const_cast<InPackageInit*>(r.packages[i]);
      if (package->initialized_ ||
          !std::all_of(package->dependencies_.begin(), package->dependencies_.end(), isSatisfied)) {
        continue;
      }
      r.initializing = package;
      try {
        package->initializePackage();
      } catch (...) {
        r.initializing = nullptr;
        throw;
      }
      r.initializing = nullptr;
      package->initialized_ = true;
      ++count;
      progress = true;
    }
  }
  return count;
}

void DbgBuildInfoUtil::registerInfo(ObjPtr<DbgBuildInfo> info) {
  if (!info) return;
  Registry& r = registry();
  r.records.push_back(BuildInfoRecord{r.initializing, std::move(info)});
}

std::vector<const DbgBuildInfo*> DbgBuildInfoUtil::getRegisteredInfos() {
  std::vector<const DbgBuildInfo*> infos;
  for (const BuildInfoRecord& record : registry().records) infos.push_back(record.info.get());
  return infos;
}

}  // namespace Vo
