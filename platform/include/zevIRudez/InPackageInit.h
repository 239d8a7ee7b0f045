#pragma once

#include <zevIRudez/zevIRudezExport.h>

#include <initializer_list>
#include <typeinfo>
#include <vector>

namespace Vo {

/// A package-level variable that a package can be made to depend on.
class ZEV_EXPORT InVariableBase {
 public:
  virtual ~InVariableBase();
};

/// A package of the library family, registered with the base library while its library loads.
///
/// A library constructs one static object per package: construct with the name,
/// `registerPackage()`, then `addDependency` for each package it needs. The base library later
/// calls `initializePackage()` on every registered package whose dependencies are satisfied
/// (see `initializePackages`). The destructor finalises nothing; it unregisters the package and
/// destroys the build-information records it registered.
class ZEV_EXPORT InPackageInit {
 public:
  explicit InPackageInit(const char* name);
  virtual ~InPackageInit();
  InPackageInit(const InPackageInit&) = delete;
  InPackageInit& operator=(const InPackageInit&) = delete;

  virtual void addDependency(InVariableBase* variable);
  virtual void removeDependency(InVariableBase* variable);
  virtual const char* getName() const;
  virtual void initializePackage() = 0;
  virtual void finalizePackage() = 0;
  virtual void setPackageState(bool state) = 0;

  /// Appends this package to the registry; once only.
  void registerPackage();
  /// Records a package this one needs, by the identity of its `InInit` class.
  void addDependency(const std::type_info* package);

  const std::vector<const std::type_info*>& getDependencies() const noexcept {
    return dependencies_;
  }
  const std::vector<InVariableBase*>& getVariableDependencies() const noexcept {
    return variables_;
  }
  bool isInitialized() const noexcept { return initialized_; }

  /// Registered packages in registration order.
  static const std::vector<const InPackageInit*>& getRegisteredPackages();

  /// Initialises, in registration order, every registered package not yet initialised whose
  /// package dependencies are initialised or provided by the base library itself (`base`,
  /// `resmgt`). Repeats until no more can start; returns how many were initialised.
  static int initializePackages();

 private:
  const char* name_;
  std::vector<const std::type_info*> dependencies_;
  std::vector<InVariableBase*> variables_;
  bool registered_ = false;
  bool initialized_ = false;
};

/// Package tags; each library of the family adds its own to this namespace.
// Tags are exported: a template instantiated on a hidden type would be hidden too.
namespace VoInit {
struct ZEV_EXPORT base {};    ///< the base library zevIRudez
struct ZEV_EXPORT resmgt {};  ///< the resource-management library zirIZizarir
}  // namespace VoInit

/// The package object of the package named by `Tag`. Adds no data members. Exported so that
/// the per-package flag is one object however many libraries instantiate the template.
template <class Tag>
class ZEV_EXPORT InInit : public InPackageInit {
 public:
  /// Constructs, registers and records the dependencies in the given order. If registration
  /// throws, the partly built object is destroyed again and the exception propagates.
  InInit(const char* name, std::initializer_list<const std::type_info*> dependencies)
      : InPackageInit(name) {
    registerPackage();
    for (const std::type_info* dependency : dependencies) addDependency(dependency);
  }
  ~InInit() override = default;

  using InPackageInit::addDependency;

  /// Identity of this package: the type information of `InInit<Tag>` itself.
  static const std::type_info* getType() noexcept { return &typeid(InInit<Tag>); }

  void initializePackage() override {}
  void finalizePackage() override {}
  void setPackageState(bool state) override { packageState_ = state; }

  static bool getPackageState() noexcept { return packageState_; }

 private:
  static inline bool packageState_ = false;
};

}  // namespace Vo
