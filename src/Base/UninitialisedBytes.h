// A byte buffer that grows without zeroing: bytes that are only room stay
// untouched, so they take no memory until written.
#pragma once

#include <memory>
#include <new>
#include <utility>
#include <vector>

template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  // resize() and emplace_back() with no value leave the bytes as they are.
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Values>
  void construct(U* place, Values&&... values) {
    ::new (static_cast<void*>(place)) U(std::forward<Values>(values)...);
  }
};

using UninitialisedBytes = std::vector<char, UninitialisedAllocator<char>>;
