// Preloaded into a program under test (LD_PRELOAD) to make one allocation fail as if memory had
// run out. HZ_FAIL_NEW_AT=N makes the N-th allocation fail: an operator new throws std::bad_alloc
// (nothrow forms return null). HZ_COUNT_NEW_TO=FILE writes, at exit, how many allocations the run
// made.
//
// The allocations counted are the calls of a shared C++ runtime's operator new, which this library
// takes over, and the mallocs the program's own code makes: a program that carries its own copy of
// the C++ runtime (hzdot-cli) binds its operator new to that copy, which allocates by malloc.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <link.h>
#include <new>

extern "C" void* __libc_malloc(std::size_t size);

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
    return __libc_malloc(size ? size : 1);
}

// The program's own code, where its mallocs come from; empty until the program starts, so that
// nothing is looked up while the loader still sets the process up.
std::uintptr_t programBegin = 0;
std::uintptr_t programEnd = 0;

int findProgram(dl_phdr_info* info, std::size_t, void*) {
    // The main program comes first.
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X)) {
            programBegin = info->dlpi_addr + segment.p_vaddr;
            programEnd = programBegin + segment.p_memsz;
        }
    }
    return 1;
}

__attribute__((constructor)) void findProgramCode() {
    dl_iterate_phdr(findProgram, nullptr);
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

extern "C" void* malloc(std::size_t size) {
    const auto caller = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    if (caller >= programBegin && caller < programEnd && calls.fetch_add(1) + 1 == failAt())
        return nullptr;
    return __libc_malloc(size);
}
