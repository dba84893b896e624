// A library file read once into memory: its records whatever happens to the file afterwards, and
// the records of a file longer than any code reaches.
#include "core/library/glyph_reader.h"
#include "core/library/record_file.h"

#include "library_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hz {
namespace {

using test::patternRecord;
using test::TempFolder;

constexpr std::size_t kRecord = 32;

std::vector<std::uint8_t> patternFile(long records) {
    std::vector<std::uint8_t> bytes;
    for (long n = 0; n < records; ++n) {
        const auto record = patternRecord(n, kRecord);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

std::vector<std::uint8_t> recordAt(RecordFile& file, std::uint64_t offset, LookupStatus& status) {
    std::vector<std::uint8_t> out(kRecord, 0xEE);
    status = file.read(offset, kRecord, out.data());
    return out;
}

// What changes between opening the file and reading records from it.
struct Change {
    const char* name;
    bool afterFirstRead; // the change comes after a first record was read
    long recordsLeft;    // the file is cut to this many records (-1: removed)
    long record;         // the record read after the change
    LookupStatus status;
};

class RecordFileChanges : public ::testing::TestWithParam<Change> {};

TEST_P(RecordFileChanges, RecordsComeFromWhatWasReadFirst) {
    const Change& change = GetParam();
    TempFolder dir;
    const std::string path = dir.file("lib");
    test::writeFile(path, patternFile(100));
    RecordFile file;
    ASSERT_TRUE(file.open(path));
    LookupStatus status{};
    if (change.afterFirstRead) {
        EXPECT_EQ(recordAt(file, 0, status), patternRecord(0, kRecord));
        EXPECT_EQ(status, LookupStatus::Found);
    }
    if (change.recordsLeft < 0)
        std::filesystem::remove(path);
    else
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(change.recordsLeft) * kRecord);

    const auto bytes = recordAt(file, static_cast<std::uint64_t>(change.record) * kRecord, status);
    EXPECT_EQ(status, change.status);
    if (status == LookupStatus::Found) {
        EXPECT_EQ(bytes, patternRecord(change.record, kRecord));
    }
    // A record past the end the file had when it was opened is outside it whatever happened.
    recordAt(file, 100 * kRecord, status);
    EXPECT_EQ(status, LookupStatus::RecordOutsideFile);
}

INSTANTIATE_TEST_SUITE_P(Files, RecordFileChanges,
                         ::testing::Values(
                             // Cut before anything was read: what is left is the file.
                             Change{"CutBeforeReadingKeepsEarlierRecords", false, 50, 49, LookupStatus::Found},
                             Change{"CutBeforeReadingLosesLaterRecords", false, 50, 50,
                                    LookupStatus::RecordOutsideFile},
                             Change{"CutInsideARecord", false, 0, 0, LookupStatus::RecordOutsideFile},
                             // Once read, the file may shrink, change or go: the records are in memory.
                             Change{"CutAfterReading", true, 10, 99, LookupStatus::Found},
                             Change{"RemovedAfterReading", true, -1, 77, LookupStatus::Found}),
                         [](const auto& info) { return std::string(info.param.name); });

// No code reaches past a full table of the largest records, so no more is kept; a record further on
// is still read whole from the file, even one that starts inside the part kept.
TEST(RecordFile, RecordsPastThePartKeptAreReadFromTheFile) {
    TempFolder dir;
    const std::string path = dir.file("long");
    const std::size_t size = RecordFile::kMostKept + 3 * kRecord + 5;
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    test::writeFile(path, bytes);
    const auto expected = [&](std::uint64_t offset) {
        return std::vector<std::uint8_t>(bytes.begin() + static_cast<long>(offset),
                                         bytes.begin() + static_cast<long>(offset + kRecord));
    };

    RecordFile file;
    ASSERT_TRUE(file.open(path));
    EXPECT_EQ(file.size(), size);
    LookupStatus status{};
    for (std::uint64_t offset : {std::uint64_t{0}, RecordFile::kMostKept - kRecord, RecordFile::kMostKept - 7,
                                 RecordFile::kMostKept, std::uint64_t{size - kRecord}}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(recordAt(file, offset, status), expected(offset));
        EXPECT_EQ(status, LookupStatus::Found);
    }
    recordAt(file, size - kRecord + 1, status);
    EXPECT_EQ(status, LookupStatus::RecordOutsideFile);
}

} // namespace
} // namespace hz
