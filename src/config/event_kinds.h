// What the program writes to the Windows Application log under the source "Tollivar": the kinds of
// event with their fixed ids and levels, and the text of each. Platform-free.
//
// The ids never change once shipped (collectors filter on them); a new kind takes a new id. They equal
// the message ids of resources/tollivar_events.mc, whose every message is "%1" (the text below), so
// Event Viewer shows our text once the program is registered as the source's EventMessageFile. The
// message ids carry no severity bits: the shell passes the level as the event type.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollivar {

enum class EventSeverity { Information, Warning, Error };

enum class EventKind {
    ShieldDetection,
    ScanDetection,
    FileQuarantined,
    FileDestroyed,
    HealFailed,
    ProcessEnded,
    SystemRepaired,
    RestoredToOrigin,
    RestoredToDesktop,
    RestoreRefused,
    QuarantineDeleted,
    DefinitionsUpdated,
    DefinitionsRefused,
};

struct EventKindInfo {
    EventKind kind;
    std::uint32_t id;
    EventSeverity severity;
    std::string_view symbol;  // the message's SymbolicName in the message file
    std::string_view summary; // one line for the administrators' table
};

inline constexpr std::size_t kEventKindCount = 13;

// Every kind once, in id order.
const std::array<EventKindInfo, kEventKindCount>& EventKinds();
const EventKindInfo& EventKindInfoOf(EventKind kind);

// "Information", "Warning", "Error".
std::string_view EventSeverityName(EventSeverity severity);

// An event's text holds at most this many bytes (a report string holds 31,839 characters); a longer
// text is cut on a whole character.
inline constexpr std::size_t kMaxEventTextBytes = 31839;

struct LogEvent {
    std::uint32_t id = 0;
    EventSeverity severity = EventSeverity::Information;
    std::string text; // UTF-8, lines separated by CR LF
};

// The texts take UTF-8 values. A control character in a value (a line break most of all) is written
// as "?", so that no value can forge a line of the event.

// A Threat Shield row: its Infector and Infection columns.
LogEvent ShieldDetectionEvent(std::string_view infector, std::string_view infection);
// A Threat Scan row: its Infection column, kind code ("P" or "F") and Identification.
LogEvent ScanDetectionEvent(std::string_view infection, std::string_view kind,
                            std::string_view identification);
LogEvent FileQuarantinedEvent(std::string_view originalPath, std::string_view quarantinedPath,
                              std::string_view threat);
LogEvent FileDestroyedEvent(std::string_view path, std::string_view threat);
// rowText: the row's path or process text; reason: why it stayed (one sentence).
LogEvent HealFailedEvent(std::string_view rowText, std::string_view reason);
LogEvent ProcessEndedEvent(std::string_view imagePath, std::uint32_t processId);
// The Infection texts of the system repair rows that were repaired.
LogEvent SystemRepairedEvent(const std::vector<std::string>& repairedRows);
LogEvent RestoredToOriginEvent(std::string_view quarantinedPath, std::string_view restoredPath);
LogEvent RestoredToDesktopEvent(std::string_view quarantinedPath, std::string_view restoredPath);
// message: what the user was told (RestoreOutcomeText).
LogEvent RestoreRefusedEvent(std::string_view quarantinedPath, std::string_view message);
LogEvent QuarantineDeletedEvent(std::string_view quarantinedPath);
// version: the definitions' version text; threats: how many entries they hold.
LogEvent DefinitionsUpdatedEvent(std::string_view version, std::size_t threats);
LogEvent DefinitionsRefusedEvent(std::string_view reason);

} // namespace tollivar
