#include "engine/autorun_read_cache.h"

#include <gtest/gtest.h>

namespace tollivar {
namespace {

constexpr FileStamp kStamp{0x1234ABCD, 42, 35, 133000000000000000ull};

// A reader that counts its reads and answers what the file holds now.
struct FakeFile {
    std::string content = "evil.exe /go";
    int reads = 0;
    std::function<std::string()> Reader() {
        return [this] {
            ++reads;
            return content;
        };
    }
};

TEST(AutorunReadCache, AnUnchangedFileIsReadOnce) {
    AutorunReadCache cache;
    FakeFile file;
    for (int pass = 0; pass < 5; ++pass)
        EXPECT_EQ(cache.OpenValue("E:\\", kStamp, file.Reader()), "evil.exe /go");
    EXPECT_EQ(file.reads, 1);
}

// Any part of the identity changing means another file or a changed one: it is read again. A stick
// swapped for another at the same letter differs at least by its volume serial.
TEST(AutorunReadCache, AnyChangeOfTheStampReadsAgain) {
    const struct {
        const char* name;
        void (*change)(FileStamp&);
    } cases[] = {
        {"volume serial", [](FileStamp& s) { s.volumeSerial ^= 1; }},
        {"file id", [](FileStamp& s) { s.fileId += 1; }},
        {"size", [](FileStamp& s) { s.size += 1; }},
        {"last write", [](FileStamp& s) { s.lastWrite += 1; }},
    };
    for (const auto& c : cases) {
        AutorunReadCache cache;
        FakeFile file;
        EXPECT_EQ(cache.OpenValue("E:\\", kStamp, file.Reader()), "evil.exe /go") << c.name;
        file.content = "other.exe";
        FileStamp changed = kStamp;
        c.change(changed);
        EXPECT_EQ(cache.OpenValue("E:\\", changed, file.Reader()), "other.exe") << c.name;
        EXPECT_EQ(cache.OpenValue("E:\\", changed, file.Reader()), "other.exe") << c.name;
        EXPECT_EQ(file.reads, 2) << c.name;
    }
}

// A pulled stick (no file) gives nothing and is forgotten: the same stick back is read again, since
// a file with that stamp may have been written elsewhere meanwhile.
TEST(AutorunReadCache, NoFileGivesNothingAndForgetsTheRoot) {
    AutorunReadCache cache;
    FakeFile file;
    EXPECT_EQ(cache.OpenValue("E:\\", kStamp, file.Reader()), "evil.exe /go");
    EXPECT_EQ(cache.OpenValue("E:\\", std::nullopt, file.Reader()), "");
    EXPECT_EQ(file.reads, 1) << "nothing is read without a file";
    EXPECT_EQ(cache.OpenValue("E:\\", kStamp, file.Reader()), "evil.exe /go");
    EXPECT_EQ(file.reads, 2);
}

TEST(AutorunReadCache, RootsAreKeptApart) {
    AutorunReadCache cache;
    FakeFile e, g;
    g.content = "run.exe";
    EXPECT_EQ(cache.OpenValue("E:\\", kStamp, e.Reader()), "evil.exe /go");
    EXPECT_EQ(cache.OpenValue("G:\\", kStamp, g.Reader()), "run.exe")
        << "the same stamp on another root is read";
    EXPECT_EQ(cache.OpenValue("E:\\", kStamp, e.Reader()), "evil.exe /go");
    EXPECT_EQ(cache.OpenValue("G:\\", kStamp, g.Reader()), "run.exe");
    EXPECT_EQ(e.reads + g.reads, 2);
}

// An empty value (an autorun.inf that names nothing) is kept like any other.
TEST(AutorunReadCache, AnEmptyValueIsKeptToo) {
    AutorunReadCache cache;
    FakeFile file;
    file.content = "";
    EXPECT_EQ(cache.OpenValue("E:\\", kStamp, file.Reader()), "");
    EXPECT_EQ(cache.OpenValue("E:\\", kStamp, file.Reader()), "");
    EXPECT_EQ(file.reads, 1);
}

} // namespace
} // namespace tollivar
