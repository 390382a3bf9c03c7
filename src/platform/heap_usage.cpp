// The global allocation functions are replaced here by ones that count. Sizes are taken from the
// allocator itself (malloc_usable_size) on both allocation and release, so a block is counted
// with the same size both ways whatever form of delete releases it. This works unchanged under
// AddressSanitizer, which replaces malloc and free underneath and answers malloc_usable_size.
// Linking this file in is enough: HeapUsage() lives here, so any program that asks for the
// counts also gets the counting allocator.
#include "platform/heap_usage.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace pigmentaria {
namespace {

std::atomic<std::int64_t> LiveBlocks{0};
std::atomic<std::int64_t> LiveBytes{0};

void* Counted(void* p) {
    if (p) {
        LiveBlocks.fetch_add(1, std::memory_order_relaxed);
        LiveBytes.fetch_add(static_cast<std::int64_t>(malloc_usable_size(p)),
                            std::memory_order_relaxed);
    }
    return p;
}

void Release(void* p) {
    if (!p) return;
    LiveBlocks.fetch_sub(1, std::memory_order_relaxed);
    LiveBytes.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(p)),
                        std::memory_order_relaxed);
    std::free(p);
}

void* Allocate(std::size_t size) {
    if (size == 0) size = 1;
    for (;;) {
        if (void* p = std::malloc(size)) return Counted(p);
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    std::size_t a = static_cast<std::size_t>(align);
    if (a < sizeof(void*)) a = sizeof(void*);
    if (size == 0) size = 1;
    for (;;) {
        void* p = nullptr;
        if (posix_memalign(&p, a, size) == 0) return Counted(p);
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

} // namespace

THeapUsage HeapUsage() {
    return {LiveBlocks.load(std::memory_order_relaxed), LiveBytes.load(std::memory_order_relaxed)};
}

} // namespace pigmentaria

using pigmentaria::Allocate;
using pigmentaria::AllocateAligned;
using pigmentaria::Release;

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t a) {
    return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return AllocateAligned(size, a);
}
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    try {
        return AllocateAligned(size, a);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    try {
        return AllocateAligned(size, a);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(p);
}
