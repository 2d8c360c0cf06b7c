// The event log's kinds, their fixed ids, the message file that Event Viewer reads, and the texts.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "config/event_kinds.h"
#include "config/utf8_text.h"

namespace tollivar {
namespace {

// Collectors and administrators filter on these numbers: they must never change.
TEST(EventKinds, IdsAndLevelsAreFixed) {
    using K = EventKind;
    using S = EventSeverity;
    const struct {
        EventKind kind;
        std::uint32_t id;
        EventSeverity severity;
    } cases[] = {
        {K::ShieldDetection, 1000, S::Warning},
        {K::ScanDetection, 1001, S::Warning},
        {K::FileQuarantined, 2000, S::Information},
        {K::FileDestroyed, 2001, S::Information},
        {K::HealFailed, 2002, S::Error},
        {K::ProcessEnded, 2003, S::Information},
        {K::SystemRepaired, 2004, S::Information},
        {K::RestoredToOrigin, 3000, S::Warning},
        {K::RestoredToDesktop, 3001, S::Warning},
        {K::RestoreRefused, 3002, S::Information},
        {K::QuarantineDeleted, 3003, S::Information},
        {K::DefinitionsUpdated, 4000, S::Information},
        {K::DefinitionsRefused, 4001, S::Error},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EventKindInfoOf(c.kind).kind, c.kind) << c.id;
        EXPECT_EQ(EventKindInfoOf(c.kind).id, c.id);
        EXPECT_EQ(EventKindInfoOf(c.kind).severity, c.severity) << c.id;
    }
    // Every kind is in the table once, in id order, with a distinct message symbol.
    std::set<std::string_view> symbols;
    for (std::size_t i = 0; i < EventKinds().size(); ++i) {
        EXPECT_EQ(EventKindInfoOf(static_cast<EventKind>(i)).kind, static_cast<EventKind>(i)) << i;
        if (i > 0) {
            EXPECT_LT(EventKinds()[i - 1].id, EventKinds()[i].id);
        }
        EXPECT_TRUE(symbols.insert(EventKinds()[i].symbol).second) << EventKinds()[i].symbol;
        EXPECT_LE(EventKinds()[i].id, 0xFFFFu); // Event Viewer shows the low 16 bits as the id
    }
}

struct MessageEntry {
    std::string symbol;
    std::string text;
    std::string severity;
};

// The message file's entries by id: "MessageId=", "Severity=", "SymbolicName=", "Language=", text, ".".
std::map<std::uint32_t, MessageEntry> ReadMessageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::map<std::uint32_t, MessageEntry> entries;
    std::string line;
    std::uint32_t id = 0;
    bool inText = false;
    const auto field = [&](const std::string& key) {
        return line.rfind(key + "=", 0) == 0 ? line.substr(key.size() + 1) : std::string();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inText) {
            if (line == ".") {
                inText = false;
            } else {
                entries[id].text += line;
            }
        } else if (line.rfind("MessageId=", 0) == 0) {
            id = static_cast<std::uint32_t>(std::stoul(field("MessageId")));
            EXPECT_EQ(entries.count(id), 0u) << "message id " << id << " twice";
            entries[id];
        } else if (line.rfind("SymbolicName=", 0) == 0) {
            entries[id].symbol = field("SymbolicName");
        } else if (line.rfind("Severity=", 0) == 0) {
            entries[id].severity = field("Severity");
        } else if (line.rfind("Facility=", 0) == 0) {
            ADD_FAILURE() << "a facility would change the id Event Viewer shows: " << line;
        } else if (line.rfind("Language=", 0) == 0) {
            inText = true;
        }
    }
    return entries;
}

TEST(EventKinds, TheMessageFileHasOneInsertionMessagePerId) {
    const auto entries =
        ReadMessageFile(std::string(TOLLIVAR_SOURCE_DIR) + "/src/resources/tollivar_events.mc");
    EXPECT_EQ(entries.size(), EventKinds().size());
    for (const EventKindInfo& info : EventKinds()) {
        const auto found = entries.find(info.id);
        ASSERT_NE(found, entries.end()) << info.id;
        EXPECT_EQ(found->second.symbol, info.symbol) << info.id;
        EXPECT_EQ(found->second.text, "%1") << info.id;
        // Severity bits would make the message id differ from the id the program reports.
        EXPECT_EQ(found->second.severity, "Success") << info.id;
    }
}

TEST(EventKinds, TextsNameTheKindAndThePaths) {
    const struct {
        LogEvent event;
        std::uint32_t id;
        const char* text;
    } cases[] = {
        {ShieldDetectionEvent("E:\\autorun.inf", "evil.exe"), 1000,
         "The shield found a threat on a drive.\r\nFile: E:\\autorun.inf\r\nInfection: evil.exe"},
        {ScanDetectionEvent("E:\\RECYCLER\\x.exe", "F", "Win32.Autoit.CC"), 1001,
         "The threat scan found a threat.\r\nFile: E:\\RECYCLER\\x.exe\r\nIdentification: Win32.Autoit.CC"},
        {ScanDetectionEvent("x.exe (1234)", "P", "suspicious."), 1001,
         "The threat scan found a threat.\r\nProcess: x.exe (1234)\r\nIdentification: suspicious."},
        {FileQuarantinedEvent("E:\\autorun.inf", "C:\\T\\quarantine\\autorun.inf.5qr", "suspicious."), 2000,
         "A threat file was moved to quarantine.\r\nFile: E:\\autorun.inf\r\nThreat: suspicious.\r\n"
         "Quarantined as: C:\\T\\quarantine\\autorun.inf.5qr"},
        {FileDestroyedEvent("E:\\x.exe", "possible malware."), 2001,
         "A threat file was deleted.\r\nFile: E:\\x.exe\r\nThreat: possible malware."},
        {HealFailedEvent("E:\\x.exe", "The file is in use."), 2002,
         "A threat could not be removed; it is still there.\r\nThreat: E:\\x.exe\r\nReason: The file is in "
         "use."},
        {ProcessEndedEvent("E:\\x.exe", 4321), 2003,
         "A threat's process was ended.\r\nProgram: E:\\x.exe\r\nProcess id: 4321"},
        {SystemRepairedEvent({"Task Manager disabled", "Hidden files not shown"}), 2004,
         "System settings changed by malware were repaired.\r\nItems repaired: 2\r\n"
         "Repaired: Task Manager disabled\r\nRepaired: Hidden files not shown"},
        {SystemRepairedEvent({}), 2004,
         "System settings changed by malware were repaired.\r\nItems repaired: 0"},
        {RestoredToOriginEvent("C:\\T\\quarantine\\a.exe.5qr", "E:\\a.exe"), 3000,
         "A quarantined file was restored to where it was taken from.\r\nRestored to: E:\\a.exe\r\n"
         "Quarantined as: C:\\T\\quarantine\\a.exe.5qr"},
        {RestoredToDesktopEvent("C:\\T\\quarantine\\a.exe.5qr", "C:\\Users\\me\\Desktop\\a.exe"), 3001,
         "A quarantined file was restored to the desktop.\r\nRestored to: C:\\Users\\me\\Desktop\\a.exe\r\n"
         "Quarantined as: C:\\T\\quarantine\\a.exe.5qr"},
        {RestoreRefusedEvent("C:\\T\\quarantine\\a.exe.5qr", "Drive E: is not present."), 3002,
         "A restore from quarantine was refused; nothing changed.\r\nQuarantined as: "
         "C:\\T\\quarantine\\a.exe.5qr\r\n"
         "Reason: Drive E: is not present."},
        {QuarantineDeletedEvent("C:\\T\\quarantine\\a.exe.5qr"), 3003,
         "A quarantined file was deleted for good.\r\nFile: C:\\T\\quarantine\\a.exe.5qr"},
        {DefinitionsUpdatedEvent("2026.12.10", 10000), 4000,
         "New threat definitions were installed.\r\nVersion: 2026.12.10\r\nThreats: 10000"},
        {DefinitionsRefusedEvent("An entry names the Windows folder."), 4001,
         "New threat definitions were refused; the installed ones stay.\r\nReason: An entry names the "
         "Windows "
         "folder."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.event.id, c.id);
        EXPECT_EQ(c.event.text, c.text);
        for (const EventKindInfo& info : EventKinds()) {
            if (info.id == c.id) {
                EXPECT_EQ(c.event.severity, info.severity) << c.id;
            }
        }
    }
}

TEST(EventKinds, NoValueForgesALineOrOverrunsTheReport) {
    EXPECT_EQ(ShieldDetectionEvent("E:\\x\r\nInfection: none", std::string("a\tb\0c\x7f", 6)).text,
              "The shield found a threat on a drive.\r\nFile: E:\\x??Infection: none\r\nInfection: a?b?c?");
    // Non-ASCII text passes as it is.
    EXPECT_EQ(FileDestroyedEvent("E:\\caf\xc3\xa9.exe", "").text,
              "A threat file was deleted.\r\nFile: E:\\caf\xc3\xa9.exe\r\nThreat: ");
    // A huge value is cut to what one report string holds, on a whole character.
    std::string huge;
    while (huge.size() < kMaxEventTextBytes + 10)
        huge += "\xe6\x96\x87";
    const LogEvent event = HealFailedEvent(huge, "r");
    EXPECT_LE(event.text.size(), kMaxEventTextBytes);
    EXPECT_GT(event.text.size(), kMaxEventTextBytes - 3);
    EXPECT_TRUE(IsValidUtf8(event.text));
    EXPECT_EQ(event.id, 2002u);
}

} // namespace
} // namespace tollivar
