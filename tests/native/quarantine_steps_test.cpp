// Taking a file into quarantine with its record: the order of the steps, what a failure at each step
// leaves behind, and a move that reports success while the threat stays where it was.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "heal/quarantine_steps.h"
#include "heal/sha256.h"

namespace tollivar {
namespace {

constexpr char kThreat[] = "E:\\autorun.inf";
constexpr char kContent[] = "[autorun]\r\nopen=run.exe\r\n";
constexpr char kFolder[] = "C:\\q\\";

// A model volume: files by path, with the faults a test asks for.
class ModelFiles : public QuarantineFiles {
  public:
    std::map<std::string, std::string> files;
    std::vector<std::string> log; // every operation that changes something, in order
    bool unreadable = false;
    bool writeFails = false;
    bool renameFails = false;
    bool moveFails = false;
    bool moveCopiesButKeepsSource = false;   // across volumes, the source's delete denied
    bool moveFailsAfterDelete = false;       // copied and deleted, yet reported as failed
    std::set<std::string> takenDuringRename; // a record that appears while the pending one is renamed

    std::optional<FileContent> Hash(const std::string& path) override {
        const auto it = files.find(path);
        if (unreadable || it == files.end()) return std::nullopt;
        return FileContent{it->second.size(), Sha256HexOf(it->second)};
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool WriteNew(const std::string& path, std::string_view bytes) override {
        log.push_back("write " + path);
        if (files.count(path)) return false;
        if (writeFails) {
            files[path] = std::string(bytes.substr(0, bytes.size() / 2)); // a torn write
            return false;
        }
        files[path] = std::string(bytes);
        return true;
    }
    bool RenameNew(const std::string& from, const std::string& to) override {
        log.push_back("rename " + from + " " + to);
        if (takenDuringRename.count(to)) files[to] = "someone else's record";
        if (renameFails || files.count(to) || !files.count(from)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    Move MoveNew(const std::string& from, const std::string& to) override {
        log.push_back("move " + from + " " + to);
        if (files.count(to)) return Move::NameTaken;
        if (moveFails || !files.count(from)) return Move::Failed;
        files[to] = files[from];
        if (moveCopiesButKeepsSource) return Move::Done;
        files.erase(from);
        return moveFailsAfterDelete ? Move::Failed : Move::Done;
    }
    void Delete(const std::string& path) override {
        log.push_back("delete " + path);
        files.erase(path);
    }
};

std::string Destination(int attempt) {
    return std::string(kFolder) + "autorun.inf." + std::to_string(attempt) + "qr";
}

QuarantineRequest Request() {
    QuarantineRequest request;
    request.path = kThreat;
    request.originalText = kThreat;
    request.threat = "suspicious.";
    request.utc = {2026, 12, 10, 9, 56, 50};
    request.local = {2026, 12, 10, 10, 56, 50};
    request.destinationFor = [](int attempt) { return std::optional<std::string>(Destination(attempt)); };
    return request;
}

class QuarantineSteps : public testing::Test {
  protected:
    void SetUp() override { model.files[kThreat] = kContent; }
    std::set<std::string> Paths() const {
        std::set<std::string> paths;
        for (const auto& [path, bytes] : model.files)
            paths.insert(path);
        return paths;
    }
    ModelFiles model;
};

TEST_F(QuarantineSteps, RecordIsInPlaceBeforeTheFileMoves) {
    const QuarantineResult result = QuarantineWithRecord(model, Request());
    ASSERT_EQ(result.step, QuarantineStep::Quarantined);
    const std::string file = Destination(0);
    EXPECT_EQ(result.quarantinedPath, file);
    EXPECT_EQ(Paths(), (std::set<std::string>{file, file + ".qrec"}));
    EXPECT_EQ(model.files[file], kContent);
    EXPECT_EQ(model.log, (std::vector<std::string>{"write " + file + ".qrec.tmp",
                                                   "rename " + file + ".qrec.tmp " + file + ".qrec",
                                                   "move " + std::string(kThreat) + " " + file}));

    const auto record = ParseQuarantineRecord(model.files[file + ".qrec"]);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, result.record);
    EXPECT_EQ(record->originalPath, kThreat);
    EXPECT_EQ(record->threat, "suspicious.");
    EXPECT_EQ(record->size, sizeof kContent - 1);
    EXPECT_EQ(record->sha256, Sha256HexOf(kContent));
    EXPECT_TRUE(RecordMatchesContent(*record, model.files[file].size(), Sha256HexOf(model.files[file])));
}

// Every failure leaves the threat where it was, unchanged, and nothing of ours in the quarantine folder.
TEST_F(QuarantineSteps, AFailureAtAnyStepLeavesOnlyTheThreat) {
    const struct {
        const char* what;
        bool ModelFiles::*fault;
        QuarantineStep step;
    } cases[] = {
        {"content unreadable", &ModelFiles::unreadable, QuarantineStep::Unreadable},
        {"record write torn", &ModelFiles::writeFails, QuarantineStep::RecordFailed},
        {"record rename refused", &ModelFiles::renameFails, QuarantineStep::RecordFailed},
        {"move refused", &ModelFiles::moveFails, QuarantineStep::MoveFailed},
        {"copied but the source's delete denied", &ModelFiles::moveCopiesButKeepsSource,
         QuarantineStep::SourceStayed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModelFiles model;
        model.files[kThreat] = kContent;
        model.*c.fault = true;
        const QuarantineResult result = QuarantineWithRecord(model, Request());
        EXPECT_EQ(result.step, c.step);
        EXPECT_TRUE(result.quarantinedPath.empty());
        ASSERT_EQ(model.files.size(), 1u) << model.files.begin()->first;
        EXPECT_EQ(model.files[kThreat], kContent);
    }
}

TEST_F(QuarantineSteps, ASourceGoneAfterAFailedMoveKeepsTheCopyWithItsRecord) {
    model.moveFailsAfterDelete = true;
    const QuarantineResult result = QuarantineWithRecord(model, Request());
    EXPECT_EQ(result.step, QuarantineStep::Quarantined);
    EXPECT_EQ(Paths(), (std::set<std::string>{Destination(0), Destination(0) + ".qrec"}));
}

TEST_F(QuarantineSteps, TakenNamesAreSkippedAndNeverTouched) {
    // Attempt 0: the file name is taken; 1: a record of that name exists; 2: a pending record does;
    // 3: a record appears while ours is renamed; 4: free.
    model.files[Destination(0)] = "other file";
    model.files[Destination(1) + ".qrec"] = "other record";
    model.files[Destination(2) + ".qrec.tmp"] = "other pending";
    model.takenDuringRename.insert(Destination(3) + ".qrec");
    const QuarantineResult result = QuarantineWithRecord(model, Request());
    ASSERT_EQ(result.step, QuarantineStep::Quarantined);
    EXPECT_EQ(result.quarantinedPath, Destination(4));
    EXPECT_EQ(model.files[Destination(0)], "other file");
    EXPECT_EQ(model.files[Destination(1) + ".qrec"], "other record");
    EXPECT_EQ(model.files[Destination(2) + ".qrec.tmp"], "other pending");
    EXPECT_EQ(model.files[Destination(3) + ".qrec"], "someone else's record");
    EXPECT_FALSE(model.Exists(Destination(3) + ".qrec.tmp"));
    EXPECT_FALSE(model.Exists(kThreat));
}

TEST_F(QuarantineSteps, ANameTakenAtTheMoveRemovesOurRecordOnly) {
    // The destination appears between the check and the move (another program, another quarantine).
    class Racing : public ModelFiles {
      public:
        Move MoveNew(const std::string& from, const std::string& to) override {
            if (to == Destination(0)) files[to] = "raced in";
            return ModelFiles::MoveNew(from, to);
        }
    } racing;
    racing.files[kThreat] = kContent;
    const QuarantineResult result = QuarantineWithRecord(racing, Request());
    ASSERT_EQ(result.step, QuarantineStep::Quarantined);
    EXPECT_EQ(result.quarantinedPath, Destination(1));
    EXPECT_EQ(racing.files[Destination(0)], "raced in");
    EXPECT_FALSE(racing.Exists(Destination(0) + ".qrec"));
    EXPECT_TRUE(racing.Exists(Destination(1) + ".qrec"));
}

TEST_F(QuarantineSteps, NoFittingNameOrNoRecordLeavesTheFile) {
    const struct {
        const char* what;
        std::function<std::optional<std::string>(int)> destinationFor;
        int attempts;
        std::string original;
    } cases[] = {
        {"no name fits", [](int) { return std::optional<std::string>(); }, 8, kThreat},
        {"no room for the record's name",
         [](int) { return std::optional<std::string>(std::string(505, 'q')); }, 8, kThreat},
        {"every name taken", [](int) { return std::optional<std::string>(kThreat); }, 3, kThreat},
        {"a path no record can hold", Request().destinationFor, 8, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModelFiles model;
        model.files[kThreat] = kContent;
        QuarantineRequest request = Request();
        request.destinationFor = c.destinationFor;
        request.attempts = c.attempts;
        request.originalText = c.original;
        const QuarantineResult result = QuarantineWithRecord(model, request);
        EXPECT_NE(result.step, QuarantineStep::Quarantined);
        EXPECT_EQ(model.files.size(), 1u);
        EXPECT_EQ(model.files[kThreat], kContent);
    }
}

} // namespace
} // namespace tollivar
