#include "fontsource/face_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace hz::fontsource {

namespace {

// Indices are handed out in small runs: neighbouring codes cost about the same, and a run keeps
// the shared counter out of the way.
constexpr std::size_t kRun = 32;

} // namespace

hz::Result<FacePool> FacePool::open(const std::string& path, int faceIndex, int cellSize, int workers) {
    std::vector<FontFace> faces;
    faces.reserve(static_cast<std::size_t>(std::max(workers, 1)));
    for (int i = 0; i < std::max(workers, 1); ++i) {
        auto face = FontFace::open(path, faceIndex, cellSize);
        if (!face)
            return face.problem();
        faces.push_back(std::move(*face));
    }
    return FacePool(std::move(faces));
}

int FacePool::defaultWorkers() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
}

hz::Result<void> FacePool::setPixelSize(int pixels) {
    for (FontFace& face : faces_) {
        if (auto set = face.setPixelSize(pixels); !set)
            return set;
    }
    return {};
}

bool FacePool::forEach(std::size_t count, const std::function<bool(FontFace&, std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stopped{false};
    std::exception_ptr failure;
    std::mutex failureLock;

    auto run = [&](FontFace& face) {
        try {
            while (!stopped.load(std::memory_order_relaxed)) {
                const std::size_t first = next.fetch_add(kRun, std::memory_order_relaxed);
                if (first >= count)
                    return;
                const std::size_t last = std::min(first + kRun, count);
                for (std::size_t i = first; i < last; ++i) {
                    if (!work(face, i)) {
                        stopped = true;
                        return;
                    }
                }
            }
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            stopped = true;
        }
    };

    // Small sets are not worth a thread.
    const std::size_t helpers = count > kRun ? faces_.size() - 1 : 0;
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (std::size_t t = 1; t <= helpers; ++t)
        threads.emplace_back(run, std::ref(faces_[t]));
    run(faces_.front());
    threads.clear(); // joins
    if (failure)
        std::rethrow_exception(failure);
    return !stopped;
}

FontFace FacePool::takeFront() {
    FontFace face = std::move(faces_.front());
    faces_.clear();
    return face;
}

} // namespace hz::fontsource
