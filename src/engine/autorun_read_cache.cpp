#include "engine/autorun_read_cache.h"

namespace tollivar {

std::string AutorunReadCache::OpenValue(const std::string& root, const std::optional<FileStamp>& stamp,
                                        const std::function<std::string()>& read) {
    if (!stamp) {
        entries_.erase(root);
        return {};
    }
    const auto kept = entries_.find(root);
    if (kept != entries_.end() && kept->second.stamp == *stamp) return kept->second.openValue;
    std::string value = read();
    entries_[root] = Entry{*stamp, value};
    return value;
}

} // namespace tollivar
