// A whole private-profile (INI) file held in memory and read key by key with the same results as the
// platform's profile reader given a 512-byte buffer, so that a large definitions file is read in one
// pass instead of once per key. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tollivar {

// What the reader returns for a key's value as it stands in the file (blanks around it already gone):
// a surrounding pair of matching quotes (single or double) removed, cut to 511 characters.
std::string ProfileValue(std::string_view rawValue);

class ProfileText {
  public:
    // Lines end at "\r" or "\n". A line "[name]" (up to its last "]") starts a section; any other
    // nonempty line is a key, up to its first "=", followed by its value. Blanks around lines, names
    // and values do not count. A UTF-8 byte-order mark is skipped.
    static ProfileText Parse(std::string_view fileText);

    // The value of key in section, as the reader returns it: section and key found without regard to
    // case (the first section of that name, and the first such key in it), a surrounding pair of
    // matching quotes (single or double) removed, cut to 511 characters; empty when absent. Names
    // match by ASCII case only, as far as this program's names go.
    std::string Read(std::string_view section, std::string_view key) const;

  private:
    struct Section {
        std::unordered_map<std::string, std::string> values; // upper-cased key -> raw value
    };
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSection_; // upper-cased name -> index
};

} // namespace tollivar
