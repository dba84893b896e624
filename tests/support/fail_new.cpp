// Preloaded into a program under test (LD_PRELOAD) to make one allocation fail as if memory had
// run out. HZ_FAIL_NEW_AT=N makes the N-th operator new throw std::bad_alloc (nothrow forms return
// null); HZ_COUNT_NEW_TO=FILE writes, at exit, how many allocations the run made.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> calls{0};

long failAt() {
    static const long at = [] {
        const char* value = std::getenv("HZ_FAIL_NEW_AT");
        return value ? std::atol(value) : 0L;
    }();
    return at;
}

void* allocate(std::size_t size) {
    if (calls.fetch_add(1) + 1 == failAt())
        return nullptr;
    return std::malloc(size ? size : 1);
}

__attribute__((destructor)) void reportCount() {
    if (const char* path = std::getenv("HZ_COUNT_NEW_TO")) {
        if (std::FILE* out = std::fopen(path, "w")) {
            std::fprintf(out, "%ld\n", calls.load());
            std::fclose(out);
        }
    }
}

} // namespace

void* operator new(std::size_t size) {
    if (void* p = allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
