#include "app/event_reports_win.h"

#include "config/event_kinds.h"
#include "config/log_event_win.h"
#include "engine/process_text.h"
#include "heal/quarantine_store_win.h"

namespace tollivar {

void LogShieldDetections(const std::vector<AutorunFinding>& added) {
    for (const std::vector<AutorunFinding>& drive : FindingsByDrive(added)) LogShieldRows(ShieldRowsForDrive(drive));
}

void LogShieldRows(const std::vector<ShieldRow>& added) {
    for (const ShieldRow& row : added)
        WriteLogEvent(ShieldDetectionEvent(row.infector, row.infection));
}

void LogScanDetection(const ScanRow& row) {
    WriteLogEvent(ScanDetectionEvent(row.infection, row.kind, row.identification));
}

void LogHealOutcomes(const std::vector<HealRecord>& records, const HealResult& result) {
    for (std::size_t i = 0; i < records.size() && i < result.rows.size() && i < result.removals.size(); ++i) {
        const HealRecord& record = records[i];
        const std::string text = record.text;
        const RowRemoval& removal = result.removals[i];
        switch (result.rows[i]) {
        case RowOutcome::Healed:
            if (record.kind == RowKind::Process) {
                if (const auto parts = ParseProcessText(record.text))
                    WriteLogEvent(ProcessEndedEvent(parts->imageName, parts->processId));
            } else if (!removal.quarantinedPath.empty()) {
                WriteLogEvent(FileQuarantinedEvent(text, removal.quarantinedPath, record.threat));
            } else if (removal.removedHere) {
                WriteLogEvent(FileDestroyedEvent(text, record.threat));
            }
            break;
        case RowOutcome::NotHealed:
            WriteLogEvent(HealFailedEvent(text, record.kind == RowKind::Process
                                                    ? "The process could not be ended."
                                                    : "The file could not be taken from where it is."));
            break;
        case RowOutcome::TooLarge:
            WriteLogEvent(HealFailedEvent(text, "The file is too large for the quarantine and was left where it is."));
            break;
        case RowOutcome::Unchecked:
        case RowOutcome::AlreadyTaken:
            break;
        }
    }
}

void LogSystemRepairs(const std::vector<std::string>& repairedRows) {
    if (!repairedRows.empty()) WriteLogEvent(SystemRepairedEvent(repairedRows));
}

} // namespace tollivar
