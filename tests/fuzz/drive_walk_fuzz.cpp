// The removable-drive walk over a made-up stick built from the input: folders, hidden and plain
// files, folder links (reparse points) that lead back up the tree or across it, folders that cannot
// be listed, files in use, and "." and ".." entries. Properties: the walk never lists or tests a path
// through a link, lists each folder at most once (so it ends), reports only paths under the root and
// no row twice, and gives exactly the rows and status texts of a plain recursive walk written here.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/text_rules.h"
#include "engine/drive_walk.h"

namespace {

using tollivar::DirectoryEntry;
using tollivar::ScanRow;

constexpr std::uint32_t kHidden = 0x2;
constexpr std::uint32_t kFolder = 0x10;
constexpr std::uint32_t kReparse = 0x400;
constexpr std::size_t kMaxText = 511;

// The line of a violated property goes to the log before the abort.
void Check(bool ok, int line = __builtin_LINE()) {
    if (ok) return;
    std::fprintf(stderr, "property violated at line %d\n", line);
    std::abort();
}

struct Node {
    std::string name;
    std::uint32_t attributes = 0;
    bool unlistable = false; // a folder the search cannot open
    bool inUse = false;      // a file that cannot be opened
    bool selfEntries = false;
    std::size_t linkTarget = 0; // where a folder link leads
    std::vector<std::size_t> children;
};

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return u;
}

class Stick {
  public:
    std::string root;
    std::vector<Node> nodes;
    std::size_t lists = 0;
    std::set<std::string> listedFolders;

    // The node a path names, following names from the root without regard to case. A path through
    // a folder link would leave the stick: the walk must never form one.
    std::optional<std::size_t> Find(const std::string& path) const {
        Check(path.compare(0, root.size(), root) == 0);
        std::size_t node = 0;
        std::size_t start = root.size();
        while (start < path.size()) {
            std::size_t end = path.find('\\', start);
            if (end == std::string::npos) end = path.size();
            const std::string name = Upper(path.substr(start, end - start));
            Check((nodes[node].attributes & kReparse) == 0);
            std::optional<std::size_t> next;
            for (std::size_t c : nodes[node].children)
                if (Upper(nodes[c].name) == name) next = c;
            if (!next) return std::nullopt;
            node = *next;
            start = end + 1;
        }
        return node;
    }

    std::optional<std::vector<DirectoryEntry>> Listing(std::size_t n) const {
        const Node& node = nodes[n];
        if (node.unlistable) return std::nullopt;
        std::vector<DirectoryEntry> entries;
        if (node.selfEntries) entries = {{".", kFolder}, {"..", kFolder}};
        for (std::size_t c : node.children)
            entries.push_back({nodes[c].name, nodes[c].attributes});
        return entries;
    }

    std::optional<std::vector<DirectoryEntry>> List(const std::string& folder) {
        Check(!folder.empty() && folder.back() == '\\');
        // Each folder once: a walk that came back to one would never end.
        Check(listedFolders.insert(Upper(folder)).second);
        Check(++lists <= nodes.size());
        const std::optional<std::size_t> n = Find(folder);
        if (!n || (nodes[*n].attributes & kFolder) == 0) return std::nullopt;
        Check((nodes[*n].attributes & kReparse) == 0); // listing a link enters it
        return Listing(*n);
    }

    bool Exists(const std::string& path) const {
        const std::optional<std::size_t> n = Find(path);
        return n && (nodes[*n].attributes & kFolder) == 0 && !nodes[*n].inUse;
    }
};

Stick Build(FuzzedDataProvider& in) {
    Stick stick;
    stick.root = in.ConsumeBool()
                     ? "E:\\"
                     : "E:\\" + std::string(in.ConsumeIntegralInRange<std::size_t>(1, 500), 'r') + "\\";
    stick.nodes.emplace_back();
    stick.nodes[0].attributes = kFolder;
    std::vector<std::size_t> folders = {0};
    const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(0, 48);
    for (std::size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        const std::size_t parent = folders[in.ConsumeIntegralInRange<std::size_t>(0, folders.size() - 1)];
        const std::uint8_t kind = in.ConsumeIntegral<std::uint8_t>();
        Node node;
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: // the folder-named executable of its folder
            node.name = stick.nodes[parent].name + " .exe";
            break;
        case 1:
            node.name = std::string(in.ConsumeIntegralInRange<std::size_t>(1, 300), 'n') + ".vbs";
            break;
        default:
            node.name = in.ConsumeRandomLengthString(16);
        }
        if (node.name.empty() || node.name.find_first_of(std::string("\\\0", 2)) != std::string::npos)
            continue;
        bool taken = false;
        for (std::size_t c : stick.nodes[parent].children)
            taken |= Upper(stick.nodes[c].name) == Upper(node.name);
        if (taken) continue;
        node.attributes = (kind & 1 ? kFolder : 0x20) | (kind & 2 ? kHidden : 0) | (kind & 4 ? kReparse : 0);
        node.unlistable = (kind & 8) != 0;
        node.inUse = (kind & 16) != 0;
        node.selfEntries = (kind & 32) != 0;
        // A link leads anywhere on the stick, its own folder and the root included: a cycle.
        node.linkTarget = in.ConsumeIntegralInRange<std::size_t>(0, stick.nodes.size() - 1);
        stick.nodes.push_back(node);
        const std::size_t index = stick.nodes.size() - 1;
        stick.nodes[parent].children.push_back(index);
        if ((node.attributes & kFolder) != 0 && (node.attributes & kReparse) == 0) folders.push_back(index);
    }
    return stick;
}

bool Listed(std::string_view name) {
    static const char* const kExtensions[] = {"VMX", "EXE", "COM", "DLL", "HTML", "BAT", "INF", "PIF",  "REG",
                                              "LNK", "SCR", "ASP", "JS",  "VBS",  "WSF", "WSH", "ASPX", "HTT",
                                              "HTM", "HTS", "JSP", "JSE", "VB",   "VBE", "CMD", "HTA"};
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string ext = Upper(name.substr(dot + 1));
    for (const char* e : kExtensions)
        if (ext == e) return true;
    return false;
}

// Status texts are cut to what a list holds, never inside a UTF-8 character.
std::string Cut(const std::string& s) { return std::string(tollivar::CutBeforeCharacter(s, kMaxText)); }

// The walk as its rules read, recursively and without any shortcut.
void Model(const Stick& stick, std::size_t folderNode, const std::string& folder, std::vector<ScanRow>& rows,
           std::vector<std::string>& statuses) {
    const auto entries = stick.Listing(folderNode);
    if (!entries) return;
    for (const DirectoryEntry& e : *entries) {
        if (e.name.empty() || e.name[0] == '.') continue;
        if ((e.attributes & kFolder) == 0) {
            const std::string path = folder + e.name;
            statuses.push_back(Cut(" Analyzing >>  " + path));
            if (path.size() <= kMaxText && (e.attributes & kHidden) != 0 && Listed(e.name) &&
                stick.Exists(path))
                rows.push_back({path, "F", "suspicious."});
            continue;
        }
        if ((e.attributes & kReparse) != 0) continue;
        const std::string sub = folder + e.name + "\\";
        const std::string exe = sub + e.name + " .exe";
        if (exe.size() <= kMaxText && stick.Exists(exe)) rows.push_back({exe, "F", "Win32.Autoit.CC"});
        std::size_t child = 0;
        for (std::size_t c : stick.nodes[folderNode].children)
            if (stick.nodes[c].name == e.name) child = c;
        Model(stick, child, sub, rows, statuses);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Stick stick = Build(in);

    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
    tollivar::DriveWalkHooks hooks;
    hooks.list = [&](const std::string& folder) { return stick.List(folder); };
    hooks.fileExists = [&](const std::string& path) { return stick.Exists(path); };
    hooks.showStatus = [&](const std::string& s) { statuses.push_back(s); };
    hooks.addRow = [&](const ScanRow& row) { rows.push_back(row); };
    tollivar::WalkRemovableDrive(stick.root, hooks);

    std::vector<ScanRow> expectedRows;
    std::vector<std::string> expectedStatuses;
    Model(stick, 0, stick.root, expectedRows, expectedStatuses);
    if (std::getenv("DRIVE_WALK_FUZZ_DUMP")) {
        for (const Node& n : stick.nodes) {
            std::fprintf(stderr, "node '%s' attr %x%s%s%s children", n.name.c_str(), n.attributes,
                         n.unlistable ? " unlistable" : "", n.inUse ? " in-use" : "",
                         n.selfEntries ? " dots" : "");
            for (std::size_t c : n.children)
                std::fprintf(stderr, " %zu", c);
            std::fprintf(stderr, "\n");
        }
        for (const ScanRow& r : rows)
            std::fprintf(stderr, "row %s | %s\n", r.infection.c_str(), r.identification.c_str());
        for (const ScanRow& r : expectedRows)
            std::fprintf(stderr, "model %s | %s\n", r.infection.c_str(), r.identification.c_str());
    }
    std::set<std::string> seen;
    for (const ScanRow& r : rows) {
        Check(r.infection.size() <= kMaxText && r.infection.compare(0, stick.root.size(), stick.root) == 0);
        // A hidden "name .exe" in folder "name" is met twice, once for each rule: two rows, never one twice.
        Check(seen.insert(r.infection + "|" + r.identification).second);
        Check(stick.Exists(r.infection)); // the row names the very file found
    }
    Check(rows == expectedRows);
    Check(statuses == expectedStatuses);
    return 0;
}
