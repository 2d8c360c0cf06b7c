// The definitions walk over def.uas bytes read through the whole-file profile reader. Properties:
// threats are read "1", "2", ... up to the first without a name and entries "P1", "P2", ... and "F1",
// "F2", ... up to the first empty one; every key is read once, so the work is bounded by the file;
// every row and status text fits 511 characters; the rows are the processes found and the files that
// exist, each under its threat's name; two walks over the same bytes give the same result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/text_rules.h"
#include "engine/definitions_walk.h"
#include "engine/profile_text.h"

namespace {

using tollivar::ScanRow;

constexpr std::size_t kMaxText = 511;

struct Trace {
    std::vector<std::pair<std::string, std::string>> reads;
    std::vector<std::string> existenceTests;
    std::vector<std::string> processLookups;
    std::vector<std::string> statuses;
    std::vector<ScanRow> rows;
    bool operator==(const Trace& o) const {
        return reads == o.reads && existenceTests == o.existenceTests && processLookups == o.processLookups &&
               statuses == o.statuses && rows == o.rows;
    }
};

std::uint32_t Hash(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// A made-up machine: some variables, and files and processes chosen by a hash of their names.
std::optional<std::string> Environment(const std::string& name) {
    if (name == "WINDIR") return std::string("C:\\WINDOWS");
    if (name == "TEMP") return std::string("C:\\TEMP");
    if (name == "LONG") return std::string(600, 'L');
    if (name == "EMPTY") return std::string();
    return std::nullopt;
}
bool Exists(const std::string& path) {
    return Hash(path) % 3 != 0;
}
std::string ProcessText(const std::string& name) {
    return Hash(name) % 2 ? "[1A4] - " + name : std::string();
}

std::string Cut(std::string_view s) {
    return std::string(tollivar::CutBeforeCharacter(s, kMaxText)); // never inside a UTF-8 character
}

// padded: the reader hands over values longer than any buffer, which the walk must cut itself.
Trace Walk(const tollivar::ProfileText& text, bool padded) {
    Trace t;
    tollivar::DefinitionScanHooks hooks;
    hooks.read = [&](const std::string& section, const std::string& key) {
        t.reads.emplace_back(section, key);
        std::string value = text.Read(section, key);
        if (padded && !value.empty()) value += std::string(600, 'x');
        return value;
    };
    hooks.environment = Environment;
    hooks.fileExists = [&](const std::string& path) {
        t.existenceTests.push_back(path);
        return Exists(path);
    };
    hooks.findProcess = [&](const std::string& name) {
        t.processLookups.push_back(name);
        return ProcessText(name);
    };
    hooks.showStatus = [&](const std::string& s) { t.statuses.push_back(s); };
    hooks.addRow = [&](const ScanRow& row) { t.rows.push_back(row); };
    tollivar::RunDefinitionScan(hooks);
    return t;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tollivar::ProfileText text = tollivar::ProfileText::Parse(bytes);
    const bool padded = size % 2 == 1;
    const Trace trace = Walk(text, padded);
    Check(trace == Walk(text, padded));

    // Each key once: the walk never asks twice, so a reader over the file keeps it linear.
    std::set<std::pair<std::string, std::string>> distinct(trace.reads.begin(), trace.reads.end());
    Check(distinct.size() == trace.reads.size());
    std::size_t lines = 1;
    for (char c : bytes)
        lines += c == '\r' || c == '\n';
    // Every read but the last of each run of numbers found a key line of the file.
    std::size_t threats = 0;
    for (const auto& r : trace.reads)
        threats += r.second == "Th";
    Check(threats >= 1 && trace.reads.size() <= 3 * threats + lines);

    // Replay the reads in the order the walk made them and check the numbering and the rows.
    auto value = [&](const std::string& s, const std::string& k) {
        std::string v = text.Read(s, k);
        if (padded && !v.empty()) v += std::string(600, 'x');
        return Cut(v);
    };
    std::size_t at = 0, row = 0, lookup = 0, test = 0, status = 0;
    auto next = [&](const std::string& s, const std::string& k) {
        Check(at < trace.reads.size() && trace.reads[at] == std::make_pair(s, k));
        ++at;
        return value(s, k);
    };
    for (std::uint64_t n = 1;; ++n) {
        const std::string section = std::to_string(n);
        const std::string name = next(section, "Th");
        if (name.empty()) break;
        Check(status < trace.statuses.size() && trace.statuses[status++] == Cut(" Analyzing >>  " + name));
        for (int j = 1;; ++j) {
            const std::string image = next(section, "P" + std::to_string(j));
            if (image.empty()) break;
            Check(lookup < trace.processLookups.size() && trace.processLookups[lookup++] == image);
            const std::string found = ProcessText(image);
            if (found.empty()) continue;
            Check(row < trace.rows.size() && trace.rows[row++] == ScanRow{Cut(found), "P", name});
        }
        for (int j = 1;; ++j) {
            const std::string entry = next(section, "F" + std::to_string(j));
            if (entry.empty()) break;
            std::optional<std::string> path = entry.find('%') == std::string::npos
                                                  ? std::optional<std::string>(entry)
                                                  : tollivar::ExpandDefinitionPath(entry, Environment);
            if (!path || path->empty()) continue;
            // The whole expansion is tested, the row shows it cut.
            Check(test < trace.existenceTests.size() && trace.existenceTests[test++] == *path);
            if (!Exists(*path)) continue;
            Check(row < trace.rows.size() && trace.rows[row++] == ScanRow{Cut(*path), "F", name});
        }
    }
    Check(at == trace.reads.size() && row == trace.rows.size() && lookup == trace.processLookups.size() &&
          test == trace.existenceTests.size());
    Check(status + 1 == trace.statuses.size() && trace.statuses.back() == " Analyzing >>  Seeking...");
    for (const ScanRow& r : trace.rows)
        Check(r.infection.size() <= kMaxText && r.identification.size() <= kMaxText);
    for (const std::string& s : trace.statuses)
        Check(s.size() <= kMaxText);
    return 0;
}
