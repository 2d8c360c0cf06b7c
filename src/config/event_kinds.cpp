#include "config/event_kinds.h"

#include "config/utf8_text.h"

namespace tollivar {
namespace {

using S = EventSeverity;

constexpr std::array<EventKindInfo, kEventKindCount> kKinds = {{
    {EventKind::ShieldDetection, 1000, S::Warning, "TOLLIVAR_SHIELD_DETECTION",
     "The shield found a threat on a drive."},
    {EventKind::ScanDetection, 1001, S::Warning, "TOLLIVAR_SCAN_DETECTION",
     "The threat scan found a threat."},
    {EventKind::FileQuarantined, 2000, S::Information, "TOLLIVAR_FILE_QUARANTINED",
     "A threat file was moved to quarantine."},
    {EventKind::FileDestroyed, 2001, S::Information, "TOLLIVAR_FILE_DESTROYED", "A threat file was deleted."},
    {EventKind::HealFailed, 2002, S::Error, "TOLLIVAR_HEAL_FAILED",
     "A threat could not be removed; it is still there."},
    {EventKind::ProcessEnded, 2003, S::Information, "TOLLIVAR_PROCESS_ENDED",
     "A threat's process was ended."},
    {EventKind::SystemRepaired, 2004, S::Information, "TOLLIVAR_SYSTEM_REPAIRED",
     "System settings changed by malware were repaired."},
    {EventKind::RestoredToOrigin, 3000, S::Warning, "TOLLIVAR_RESTORED_TO_ORIGIN",
     "A quarantined file was restored to where it was taken from."},
    {EventKind::RestoredToDesktop, 3001, S::Warning, "TOLLIVAR_RESTORED_TO_DESKTOP",
     "A quarantined file was restored to the desktop."},
    {EventKind::RestoreRefused, 3002, S::Information, "TOLLIVAR_RESTORE_REFUSED",
     "A restore from quarantine was refused; nothing changed."},
    {EventKind::QuarantineDeleted, 3003, S::Information, "TOLLIVAR_QUARANTINE_DELETED",
     "A quarantined file was deleted for good."},
    {EventKind::DefinitionsUpdated, 4000, S::Information, "TOLLIVAR_DEFINITIONS_UPDATED",
     "New threat definitions were installed."},
    {EventKind::DefinitionsRefused, 4001, S::Error, "TOLLIVAR_DEFINITIONS_REFUSED",
     "New threat definitions were refused; the installed ones stay."},
}};

constexpr std::string_view kLineEnd = "\r\n";

std::string Value(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return out;
}

// "Label: value" lines after the kind's first line.
struct Field {
    std::string_view label;
    std::string value;
};

// The kind's summary, then one line per field.
LogEvent Make(EventKind kind, const std::vector<Field>& fields) {
    const EventKindInfo& info = EventKindInfoOf(kind);
    std::string text(info.summary);
    for (const Field& field : fields) {
        text += kLineEnd;
        text += field.label;
        text += ": ";
        text += field.value;
    }
    return LogEvent{info.id, info.severity, CutUtf8(text, kMaxEventTextBytes)};
}

} // namespace

const std::array<EventKindInfo, kEventKindCount>& EventKinds() {
    return kKinds;
}

const EventKindInfo& EventKindInfoOf(EventKind kind) {
    for (const EventKindInfo& info : kKinds) {
        if (info.kind == kind) return info;
    }
    return kKinds[0]; // every enumerator is in the table (a test checks it)
}

std::string_view EventSeverityName(EventSeverity severity) {
    switch (severity) {
    case EventSeverity::Information:
        return "Information";
    case EventSeverity::Warning:
        return "Warning";
    case EventSeverity::Error:
        return "Error";
    }
    return {};
}

LogEvent ShieldDetectionEvent(std::string_view infector, std::string_view infection) {
    return Make(EventKind::ShieldDetection, {{"File", Value(infector)}, {"Infection", Value(infection)}});
}

LogEvent ScanDetectionEvent(std::string_view infection, std::string_view kind,
                            std::string_view identification) {
    return Make(EventKind::ScanDetection, {{kind == "P" ? "Process" : "File", Value(infection)},
                                           {"Identification", Value(identification)}});
}

LogEvent FileQuarantinedEvent(std::string_view originalPath, std::string_view quarantinedPath,
                              std::string_view threat) {
    return Make(EventKind::FileQuarantined, {{"File", Value(originalPath)},
                                             {"Threat", Value(threat)},
                                             {"Quarantined as", Value(quarantinedPath)}});
}

LogEvent FileDestroyedEvent(std::string_view path, std::string_view threat) {
    return Make(EventKind::FileDestroyed, {{"File", Value(path)}, {"Threat", Value(threat)}});
}

LogEvent HealFailedEvent(std::string_view rowText, std::string_view reason) {
    return Make(EventKind::HealFailed, {{"Threat", Value(rowText)}, {"Reason", Value(reason)}});
}

LogEvent ProcessEndedEvent(std::string_view imagePath, std::uint32_t processId) {
    return Make(EventKind::ProcessEnded,
                {{"Program", Value(imagePath)}, {"Process id", std::to_string(processId)}});
}

LogEvent SystemRepairedEvent(const std::vector<std::string>& repairedRows) {
    std::vector<Field> fields{{"Items repaired", std::to_string(repairedRows.size())}};
    for (const std::string& row : repairedRows)
        fields.push_back({"Repaired", Value(row)});
    return Make(EventKind::SystemRepaired, fields);
}

LogEvent RestoredToOriginEvent(std::string_view quarantinedPath, std::string_view restoredPath) {
    return Make(EventKind::RestoredToOrigin,
                {{"Restored to", Value(restoredPath)}, {"Quarantined as", Value(quarantinedPath)}});
}

LogEvent RestoredToDesktopEvent(std::string_view quarantinedPath, std::string_view restoredPath) {
    return Make(EventKind::RestoredToDesktop,
                {{"Restored to", Value(restoredPath)}, {"Quarantined as", Value(quarantinedPath)}});
}

LogEvent RestoreRefusedEvent(std::string_view quarantinedPath, std::string_view message) {
    return Make(EventKind::RestoreRefused,
                {{"Quarantined as", Value(quarantinedPath)}, {"Reason", Value(message)}});
}

LogEvent QuarantineDeletedEvent(std::string_view quarantinedPath) {
    return Make(EventKind::QuarantineDeleted, {{"File", Value(quarantinedPath)}});
}

LogEvent DefinitionsUpdatedEvent(std::string_view version, std::size_t threats) {
    return Make(EventKind::DefinitionsUpdated,
                {{"Version", Value(version)}, {"Threats", std::to_string(threats)}});
}

LogEvent DefinitionsRefusedEvent(std::string_view reason) {
    return Make(EventKind::DefinitionsRefused, {{"Reason", Value(reason)}});
}

} // namespace tollivar
