// The quarantine record reader and writer: any bytes are read without harm, an accepted record is
// exactly what the writer writes, and every writable record reads back to the same values. The same
// bytes also drive the drive-path split that a restore trusts, and chunked hashing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "config/utf8_text.h"
#include "heal/quarantine_record.h"
#include "heal/sha256.h"

namespace {

using namespace tollivar;

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckParse(std::string_view bytes) {
    const auto record = ParseQuarantineRecord(bytes);
    if (!record) return;
    Check(!record->originalPath.empty() && IsValidUtf8(record->originalPath) && IsValidUtf8(record->threat));
    const auto again = FormatQuarantineRecord(*record);
    Check(again.has_value() && *again == bytes); // one spelling per record
    Check(ParseQuarantineRecord(*again) == record);
}

RecordTime TimeFrom(FuzzedDataProvider& data) {
    RecordTime time;
    time.year = data.ConsumeIntegralInRange(1590, 10010);
    time.month = data.ConsumeIntegralInRange(0, 13);
    time.day = data.ConsumeIntegralInRange(0, 32);
    time.hour = data.ConsumeIntegralInRange(-1, 24);
    time.minute = data.ConsumeIntegralInRange(-1, 60);
    time.second = data.ConsumeIntegralInRange(-1, 60);
    return time;
}

void CheckBuiltRecord(FuzzedDataProvider& data) {
    QuarantineRecord record;
    record.originalPath = data.ConsumeRandomLengthString(2048);
    record.threat = data.ConsumeRandomLengthString(1024);
    record.utc = TimeFrom(data);
    record.local = TimeFrom(data);
    record.size = data.ConsumeIntegral<std::uint64_t>();
    record.sha256 =
        data.ConsumeBool() ? Sha256HexOf(record.originalPath) : data.ConsumeRandomLengthString(70);
    const bool writable = !record.originalPath.empty() && IsValidUtf8(record.originalPath) &&
                          IsValidUtf8(record.threat) && IsValidRecordTime(record.utc) &&
                          IsValidRecordTime(record.local) && IsSha256Hex(record.sha256);
    const auto text = FormatQuarantineRecord(record);
    // Three times the texts (every byte escaped) and the fixed lines stay far below 64 KiB here.
    Check(text.has_value() == writable);
    if (!text) return;
    Check(text->size() <= kMaxQuarantineRecordBytes);
    Check(ParseQuarantineRecord(*text) == record);
    // A record cut short by a crash is never read.
    const std::size_t cut = data.ConsumeIntegralInRange<std::size_t>(0, text->size() - 1);
    Check(!ParseQuarantineRecord(std::string_view(*text).substr(0, cut)));
}

void CheckDrivePath(std::string_view path) {
    const auto parts = DrivePathPartsOf(path);
    if (!parts) return;
    Check(parts->drive.size() == 2 && parts->drive[0] >= 'A' && parts->drive[0] <= 'Z' &&
          parts->drive[1] == ':');
    Check(path.substr(0, parts->folder.size()) == parts->folder);
    Check(path.find("\\..\\") == std::string_view::npos && path.find("\\\\") == std::string_view::npos);
    Check(path.find('/') == std::string_view::npos && path.find(':', 2) == std::string_view::npos);
}

void CheckChunkedHash(std::string_view bytes, std::size_t split) {
    Sha256 hasher;
    hasher.Update(bytes.substr(0, split));
    hasher.Update(bytes.substr(split));
    Check(Sha256Hex(hasher.Final()) == Sha256HexOf(bytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckParse(bytes);
    CheckDrivePath(bytes);
    CheckChunkedHash(bytes, size == 0 ? 0 : data[0] % (size + 1));
    FuzzedDataProvider provider(data, size);
    CheckBuiltRecord(provider);
    return 0;
}
