// The most bytes the heap held above where it stood when counting began, and
// the bytes it handed out meanwhile, from AddressSanitizer's allocator hooks,
// whichever thread allocates. Other
// builds count nothing (the ThreadSanitizer build runs the stress tests only).
#pragma once

#include <atomic>
#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVL_HEAP_HOOKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ORVL_HEAP_HOOKS 1
#endif

#ifdef ORVL_HEAP_HOOKS
#include <sanitizer/allocator_interface.h>
#endif

class HeapPeak {
 public:
  // Whether this build can count at all.
  static constexpr bool Counts() {
#ifdef ORVL_HEAP_HOOKS
    return true;
#else
    return false;
#endif
  }
  // False when this build cannot count.
  static bool Start() {
#ifdef ORVL_HEAP_HOOKS
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(Allocated, Freed) != 0;
    base_ = live_.load();
    peak_ = base_.load();
    handedBase_ = handed_.load();
    return installed;
#else
    return false;
#endif
  }
  static long long Bytes() { return peak_ - base_; }
  // Every allocation's bytes since Start, whether freed or not.
  static long long Handed() { return handed_ - handedBase_; }

 private:
#ifdef ORVL_HEAP_HOOKS
  static void Allocated(const volatile void*, std::size_t size) {
    handed_ += static_cast<long long>(size);
    const long long now = live_ += static_cast<long long>(size);
    long long peak = peak_;
    while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
    }
  }
  static void Freed(const volatile void* block) {
    live_ -= static_cast<long long>(__sanitizer_get_allocated_size(const_cast<const void*>(block)));
  }
#endif
  static inline std::atomic<long long> live_{0};
  static inline std::atomic<long long> peak_{0};
  static inline std::atomic<long long> base_{0};
  static inline std::atomic<long long> handed_{0};
  static inline std::atomic<long long> handedBase_{0};
};
