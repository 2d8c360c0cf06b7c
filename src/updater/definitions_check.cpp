#include "updater/definitions_check.h"

#include <algorithm>

#include "config/text_rules.h"
#include "engine/definitions_encoding.h"
#include "engine/profile_text.h"

namespace tollivar {
namespace {

bool IsAllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every section name made of digits only, without the blanks around it ("[ 07 ]" is "07").
std::vector<std::string_view> NumberedSections(std::string_view text) {
    std::vector<std::string_view> numbers;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() != '[') continue;
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) continue;
        std::string_view name = line.substr(1, close - 1);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
            name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.remove_suffix(1);
        if (IsAllDigits(name)) numbers.push_back(name);
    }
    return numbers;
}

DefinitionsCheck Problem(DefinitionsCheck check, DefinitionsProblem problem, std::string detail = {}) {
    check.problem = problem;
    check.detail = std::move(detail);
    return check;
}

DefinitionsProblem ProblemOf(FileEntryVerdict verdict) {
    switch (verdict) {
    case FileEntryVerdict::Allowed:
        break;
    case FileEntryVerdict::NotFullPath:
        return DefinitionsProblem::FileNotFullPath;
    case FileEntryVerdict::Folder:
        return DefinitionsProblem::FileIsFolder;
    case FileEntryVerdict::TollivarFile:
        return DefinitionsProblem::FileOfTollivar;
    case FileEntryVerdict::UserFile:
        return DefinitionsProblem::FileOfUser;
    case FileEntryVerdict::WindowsFile:
        return DefinitionsProblem::FileOfWindows;
    }
    return DefinitionsProblem::None;
}

} // namespace

std::optional<DefinitionsVersion> ParseDefinitionsVersion(std::string_view text) {
    DefinitionsVersion version;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        const std::string_view part =
            text.substr(start, dot == std::string_view::npos ? text.npos : dot - start);
        if (!IsAllDigits(part) || part.size() > 9) return std::nullopt; // up to 999,999,999 per number
        std::uint32_t n = 0;
        for (char c : part)
            n = n * 10 + static_cast<std::uint32_t>(c - '0');
        version.push_back(n);
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return version;
}

int CompareDefinitionsVersions(const DefinitionsVersion& a, const DefinitionsVersion& b) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t x = i < a.size() ? a[i] : 0;
        const std::uint32_t y = i < b.size() ? b[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

DefinitionsCheck CheckDefinitionsText(std::string_view bytes, const DefinitionsSafety& safety) {
    DefinitionsCheck check;
    if (bytes.empty()) return Problem(check, DefinitionsProblem::Empty);
    if (bytes.size() > kMaxDefinitionsFileSize) return Problem(check, DefinitionsProblem::TooLarge);
    const DefinitionsText decoded = DecodeDefinitionsFile(bytes);
    switch (decoded.encoding) {
    case DefinitionsEncoding::Ansi:
    case DefinitionsEncoding::Utf16Ascii:
        break;
    case DefinitionsEncoding::NotText:
        return Problem(check, DefinitionsProblem::NotText);
    case DefinitionsEncoding::NotUtf16:
        return Problem(check, DefinitionsProblem::NotUtf16);
    case DefinitionsEncoding::Utf16Wide:
        return Problem(check, DefinitionsProblem::WideUtf16);
    }
    const std::string& text = decoded.text;

    const ProfileText profile = ProfileText::Parse(text);
    std::optional<FileEntryJudge> judge; // worked out at the first file entry
    check.version = profile.Read("INFO", "Version");
    if (check.version.empty()) return Problem(check, DefinitionsProblem::NoVersion);
    if (!ParseDefinitionsVersion(check.version))
        return Problem(check, DefinitionsProblem::BadVersion, check.version);

    // The same walk as the scan: threats up to the first without a name, entries up to the first empty.
    for (std::size_t n = 1;; ++n) {
        const std::string section = std::to_string(n);
        if (profile.Read(section, "Th").empty()) break;
        check.threats = n;
        for (std::size_t p = 1;; ++p) {
            const std::string key = "P" + std::to_string(p);
            const std::string image = profile.Read(section, key);
            if (image.empty()) break;
            if (image.find_first_of("\\/:") != std::string::npos)
                return Problem(check, DefinitionsProblem::ProcessWithFolder,
                               "[" + section + "] " + key + "=" + image);
            if (IsNeverEndedProcess(image))
                return Problem(check, DefinitionsProblem::ProtectedProcess,
                               "[" + section + "] " + key + "=" + image);
        }
        for (std::size_t f = 1;; ++f) {
            const std::string key = "F" + std::to_string(f);
            const std::string value = profile.Read(section, key);
            if (value.empty()) break;
            if (!judge) judge.emplace(safety);
            const DefinitionsProblem problem = ProblemOf((*judge)(value));
            if (problem != DefinitionsProblem::None)
                return Problem(check, problem, "[" + section + "] " + key + "=" + value);
        }
    }
    if (check.threats == 0) return Problem(check, DefinitionsProblem::NoThreats);

    // The scan asks for "1", "2", ... as "%d" writes them, so "[0]", "[07]" and anything after the
    // first threat without a name are never read: such a file was not written as its author meant.
    for (std::string_view name : NumberedSections(text)) {
        const bool read =
            name.size() <= 9 && name.front() != '0' && std::stoul(std::string(name)) <= check.threats;
        if (!read)
            return Problem(check, DefinitionsProblem::UnreachableThreat, "[" + std::string(name) + "]");
    }
    return check;
}

UpdateDecision DecideUpdate(std::string_view installedText, std::string_view candidateText,
                            const DefinitionsSafety& safety) {
    UpdateDecision decision;
    decision.candidate = CheckDefinitionsText(candidateText, safety);
    const ProfileText installed = ProfileText::Parse(DecodeDefinitionsFile(installedText).text);
    decision.installedVersion = installed.Read("INFO", "Version");
    if (decision.candidate.problem != DefinitionsProblem::None) {
        decision.verdict = UpdateVerdict::Unreadable;
        return decision;
    }
    const auto oldVersion = ParseDefinitionsVersion(decision.installedVersion);
    const auto newVersion = ParseDefinitionsVersion(decision.candidate.version);
    const int order = oldVersion ? CompareDefinitionsVersions(*newVersion, *oldVersion) : 1;
    decision.verdict = order > 0    ? UpdateVerdict::Replace
                       : order == 0 ? UpdateVerdict::SameVersion
                                    : UpdateVerdict::Older;
    return decision;
}

std::string DescribeProblem(const DefinitionsCheck& check) {
    switch (check.problem) {
    case DefinitionsProblem::None:
        return {};
    case DefinitionsProblem::Empty:
        return "The file is empty.";
    case DefinitionsProblem::TooLarge:
        return "The file is too large to be a definitions file.";
    case DefinitionsProblem::NotText:
        return "The file is not a text file.";
    case DefinitionsProblem::NoVersion:
        return "The file has no version (section [INFO], key Version).";
    case DefinitionsProblem::BadVersion:
        return "Its version \"" + check.detail + "\" is not made of numbers and dots (like 2026.12.1).";
    case DefinitionsProblem::NoThreats:
        return "The file describes no threat (section [1] with a name Th).";
    case DefinitionsProblem::UnreachableThreat:
        return "Section " + check.detail +
               " would never be read: threats are numbered 1, 2, 3 ... without gaps, each with a name (Th).";
    case DefinitionsProblem::ProcessWithFolder:
        return "The entry " + check.detail + " names a folder; process entries are bare file names.";
    case DefinitionsProblem::ProtectedProcess:
        return "The entry " + check.detail + " names a process that Windows or Tollivar needs.";
    case DefinitionsProblem::NotUtf16:
        return "The file begins with a UTF-16 byte-order mark, but its text is not UTF-16.";
    case DefinitionsProblem::WideUtf16:
        return "The file is UTF-16 text with characters beyond ASCII; save it as ANSI or with ASCII "
               "characters only.";
    case DefinitionsProblem::FileNotFullPath:
        return "The entry " + check.detail +
               " is not a full path of a file on a drive (like C:\\folder\\file.exe).";
    case DefinitionsProblem::FileIsFolder:
        return "The entry " + check.detail + " names a drive or a folder; file entries name single files.";
    case DefinitionsProblem::FileOfTollivar:
        return "The entry " + check.detail + " names Tollivar's own files or its install folder.";
    case DefinitionsProblem::FileOfUser:
        return "The entry " + check.detail + " names one of your own folders or documents.";
    case DefinitionsProblem::FileOfWindows:
        return "The entry " + check.detail + " names a file that Windows ships and protects.";
    }
    return {};
}

std::string DescribeDecision(const UpdateDecision& decision) {
    const std::string installed = decision.installedVersion.empty() ? "none" : decision.installedVersion;
    switch (decision.verdict) {
    case UpdateVerdict::Unreadable:
        return "This is not a definitions file that Tollivar can read:\r\n" +
               DescribeProblem(decision.candidate);
    case UpdateVerdict::SameVersion:
        return "Tollivar already has definitions version " + installed + ".";
    case UpdateVerdict::Older:
        return "The chosen file has version " + decision.candidate.version +
               ", which is older than the installed version " + installed + ".";
    case UpdateVerdict::Replace:
        return "Installed definitions: version " + installed + "\r\nNew definitions: version " +
               decision.candidate.version + " (" + std::to_string(decision.candidate.threats) +
               (decision.candidate.threats == 1 ? " threat)" : " threats)");
    }
    return {};
}

} // namespace tollivar
