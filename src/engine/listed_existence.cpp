#include "engine/listed_existence.h"

#include "config/text_rules.h"

namespace tollivar {
namespace {

bool PlainPart(std::string_view part) {
    if (part.empty() || part == "." || part == "..") return false;
    const char last = part.back();
    return last != '.' && last != ' ';
}

} // namespace

bool SplitPlainPath(std::string_view path, std::string& folder, std::string& name) {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return false;
    const char drive = static_cast<char>(path[0] & ~0x20);
    if (drive < 'A' || drive > 'Z') return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || byte < 0x20 || c == '/' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|' || (c == ':' && i != 1))
            return false;
    }
    std::size_t start = 3;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (!PlainPart(part)) return false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    const std::size_t slash = path.rfind('\\');
    folder.assign(path.substr(0, slash + 1));
    name.assign(path.substr(slash + 1));
    return true;
}

ListedExistence::ListedExistence(FolderNameLister list, FileExistsTest realTest)
    : list_(std::move(list)), realTest_(std::move(realTest)) {}

const ListedExistence::Folder& ListedExistence::FolderOf(const std::string& folder) {
    const std::string key = ToUpperAscii(folder);
    auto found = folders_.find(key);
    if (found != folders_.end()) return found->second;
    FolderNames listing = list_(folder);
    Folder entry{listing.outcome, {}};
    for (const std::string& n : listing.names) entry.upperNames.insert(ToUpperAscii(n));
    return folders_.emplace(key, std::move(entry)).first->second;
}

bool ListedExistence::operator()(const std::string& path) {
    std::string folder, name;
    if (!SplitPlainPath(path, folder, name)) return realTest_(path);
    const Folder& listed = FolderOf(folder);
    switch (listed.outcome) {
    case FolderNames::Outcome::Missing:
        return false;
    case FolderNames::Outcome::Listed:
        if (listed.upperNames.count(ToUpperAscii(name)) == 0) return false;
        return realTest_(path);
    case FolderNames::Outcome::Unknown:
        break;
    }
    return realTest_(path);
}

} // namespace tollivar
