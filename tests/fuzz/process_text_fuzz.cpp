// Process texts: what is formatted reads back as it was, and the reader accepts nothing that the
// formatter would not make. The snapshot lookup answers only with a formatted text of a process whose
// image name is the asked name without regard to case, the first such in snapshot order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/process_text.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Strict reading: the whole input as a text.
    const std::string whole(reinterpret_cast<const char*>(data), size);
    if (const auto parts = tollivar::ParseProcessText(whole))
        Check(!parts->imageName.empty() &&
              tollivar::FormatProcessText(parts->processId, parts->imageName) == whole);

    FuzzedDataProvider in(data, size);
    const std::uint32_t id = in.ConsumeIntegral<std::uint32_t>();
    const std::string name = in.ConsumeRandomLengthString(1024);
    const std::string text = tollivar::FormatProcessText(id, name);
    Check(text.size() <= 511);
    const auto back = tollivar::ParseProcessText(text);
    if (name.empty()) {
        Check(!back);
    } else {
        Check(back && back->processId == id && !back->imageName.empty() &&
              name.compare(0, back->imageName.size(), back->imageName) == 0 &&
              // a name is only ever shortened by the cut to 511, which never splits a character
              (back->imageName.size() == name.size() || text.size() > 511 - 4));
    }

    // A snapshot of made-up processes; the filter refuses those with an odd id.
    std::vector<tollivar::ProcessEntry> entries;
    while (entries.size() < 16 && in.remaining_bytes() > 0)
        entries.push_back({in.ConsumeIntegral<std::uint32_t>(), in.ConsumeRandomLengthString(40)});
    const std::string wanted = in.ConsumeRandomLengthString(40);
    const tollivar::ProcessSnapshot snapshot(entries);
    const auto mayReport = [](const tollivar::ProcessEntry& e) { return e.processId % 2 == 0; };
    std::string expected, expectedUnfiltered;
    for (std::size_t i = 0; i < entries.size() && !wanted.empty(); ++i) {
        if (!SameName(entries[i].imageName, wanted)) continue;
        const std::string t = tollivar::FormatProcessText(entries[i].processId, entries[i].imageName);
        if (expectedUnfiltered.empty()) expectedUnfiltered = t;
        if (expected.empty() && mayReport(entries[i])) expected = t;
    }
    Check(snapshot.FindProcessText(wanted, mayReport) == expected);
    Check(snapshot.FindProcessText(wanted) == expectedUnfiltered);
    return 0;
}
