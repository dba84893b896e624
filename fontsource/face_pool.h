#pragma once
// Faces of one font file, one per worker thread, so that a whole character set renders on every
// core. FreeType objects are not shared between threads: each face has its own library.

#include "fontsource/font_face.h"

#include "core/system/result.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace hz::fontsource {

class FacePool {
public:
    // Opens the face `workers` times (at least once); the problem is FontFace::open's.
    static hz::Result<FacePool> open(const std::string& path, int faceIndex, int cellSize,
                                     int workers = defaultWorkers());

    // One worker per core, at most four: more faces cost more than they win on a set of 8178.
    static int defaultWorkers();

    FontFace& front() { return faces_.front(); }

    hz::Result<void> setPixelSize(int pixels);

    // Calls work(face, i) for every i from 0 to count-1, spread over the faces. Once a call returns
    // false no further indices are handed out; forEach then returns false. An exception thrown by a
    // call is thrown again here after every worker has stopped.
    bool forEach(std::size_t count, const std::function<bool(FontFace&, std::size_t)>& work);

    // The first face alone, for drawing glyphs one at a time; the pool is empty afterwards.
    FontFace takeFront();

private:
    explicit FacePool(std::vector<FontFace> faces) : faces_(std::move(faces)) {}

    std::vector<FontFace> faces_;
};

} // namespace hz::fontsource
