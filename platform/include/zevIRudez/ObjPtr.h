#pragma once

#include <utility>

namespace Vo {

/// Sole owner of a heap object; moving it hands ownership on. Passing one by value (with
/// `std::move`) is how a caller gives an object away to the base library.
template <class T>
class ObjPtr {
 public:
  ObjPtr() noexcept = default;
  explicit ObjPtr(T* object) noexcept : object_(object) {}
  template <class U>
  ObjPtr(ObjPtr<U>&& other) noexcept : object_(other.release()) {}  // implicit: upcast on move
  ObjPtr(ObjPtr&& other) noexcept : object_(other.release()) {}
  ObjPtr& operator=(ObjPtr&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ObjPtr(const ObjPtr&) = delete;
  ObjPtr& operator=(const ObjPtr&) = delete;
  ~ObjPtr() { delete object_; }

  T* get() const noexcept { return object_; }
  T* operator->() const noexcept { return object_; }
  T& operator*() const noexcept { return *object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }

  T* release() noexcept { return std::exchange(object_, nullptr); }
  void reset(T* object = nullptr) noexcept { delete std::exchange(object_, object); }

 private:
  T* object_ = nullptr;
};

}  // namespace Vo
