// The one loader: whether a file loaded, was read but did not decode, or could not be read
// at all, with the message and model code the record's own load gives.

#include "records/LoadedRecord.h"

#include "support/RecordBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace mirado {
namespace {

using test::RecordBuilder;

struct LoadCase {
    const char* what;
    std::function<std::string(const test::TempFolder&)> place; // puts the file, gives its path
    LoadStatus status;
    const char* message; // exact, or the start of an operating-system reason
    int modelCode;
};

std::string Written(const test::TempFolder& folder, const std::vector<uint8_t>& bytes) {
    const std::string path = folder.File("m0001.012");
    test::WriteBytes(path, bytes);
    return path;
}

std::vector<uint8_t> Truncated(size_t size) {
    std::vector<uint8_t> bytes = RecordBuilder().Bytes();
    bytes.resize(size);
    return bytes;
}

TEST(LoadedRecord, SaysWhetherAFileLoadedWasDamagedOrUnreadable) {
    const LoadCase cases[] = {
        {"a recording", [](auto& f) { return Written(f, RecordBuilder().Bytes()); },
         LoadStatus::Loaded, "", 0},
        {"channels cut short", [](auto& f) { return Written(f, Truncated(940)); },
         LoadStatus::Damaged, "  A/D Data unpack Error", 0},
        {"nothing there", [](auto& f) { return f.File("missing.001"); }, LoadStatus::Unreadable,
         "  ", kModelCodeUnknown},
        {"a folder", [](auto& f) { return f.Path(); }, LoadStatus::Unreadable, "  ",
         kModelCodeUnknown},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string path = c.place(folder);
        const LoadedRecord record = LoadRecord(path);
        EXPECT_EQ(record.path, path);
        ASSERT_NE(record.data, nullptr);
        EXPECT_EQ(record.status, c.status);
        EXPECT_EQ(record.Loaded(), c.status == LoadStatus::Loaded);
        EXPECT_EQ(record.AnythingRead(), c.status != LoadStatus::Unreadable);
        EXPECT_EQ(record.modelCode, c.modelCode);
        EXPECT_EQ(record.message.rfind(c.message, 0), 0u) << record.message;
        EXPECT_EQ(record.message.empty(), record.Loaded());
        // The message is the one the record itself keeps, so every caller shows the same.
        EXPECT_EQ(record.message, record.data->GetLastError());
    }
}

TEST(LoadedRecord, BytesReadEarlierLoadAsTheFileDoes) {
    test::TempFolder folder;
    for (const std::vector<uint8_t>& bytes : {RecordBuilder().Bytes(), Truncated(940)}) {
        const std::string path = Written(folder, bytes);
        const LoadedRecord fromFile = LoadRecord(path);
        const LoadedRecord fromBytes = LoadRecordFromBytes(path, bytes);
        EXPECT_EQ(fromBytes.status, fromFile.status);
        EXPECT_EQ(fromBytes.message, fromFile.message);
        EXPECT_EQ(fromBytes.modelCode, fromFile.modelCode);
        EXPECT_EQ(fromBytes.data->DiskBytes(), fromFile.data->DiskBytes());
        EXPECT_EQ(fromBytes.data->GetAnimalNo(), fromFile.data->GetAnimalNo());
    }
}

} // namespace
} // namespace mirado
