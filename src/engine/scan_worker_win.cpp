#include "engine/scan_worker_win.h"

#include <windows.h>

#include <memory>
#include <string>

#include "engine/autorun_analysis_win.h"
#include "engine/definitions_scan_win.h"
#include "engine/drive_scan_win.h"
#include "engine/drives_win.h"
#include "engine/file_access_win.h"
#include "engine/process_lookup_win.h"
#include "win/handles_win.h"

namespace tollivar {
namespace {

constexpr DWORD kPhasePauseMs = 200;
// The worker shows at most one "Analyzing" text in this time, so the UI thread is never flooded.
constexpr ULONGLONG kStatusIntervalMs = 50;

// The worker's side of the reports: each one is handed over and waited for, so rows arrive in order
// and a long scan cannot fill the UI thread's queue.
class Reporter {
  public:
    explicit Reporter(const ScanOrder& order) : order_(order) {}

    std::intptr_t Send(ScanReport::Kind kind) { return Send(NewReport(kind)); }
    void Row(const ScanRow& row) {
        auto report = NewReport(ScanReport::Kind::Row);
        report->row = row;
        Send(std::move(report));
    }
    void Progress(int position) {
        auto report = NewReport(ScanReport::Kind::Progress);
        report->progress = position;
        Send(std::move(report));
    }
    void Status(const std::string& text) {
        const ULONGLONG now = GetTickCount64();
        if (statusShown_ && now - lastStatus_ < kStatusIntervalMs) return;
        statusShown_ = true;
        lastStatus_ = now;
        auto report = NewReport(ScanReport::Kind::Status);
        report->text = text;
        Send(std::move(report));
    }
    // Without it, the next monitor tick runs a pass all the same.
    void PostClosingPass() {
        if (order_.post) order_.post(NewReport(ScanReport::Kind::ClosingPass));
    }

  private:
    static std::unique_ptr<ScanReport> NewReport(ScanReport::Kind kind) {
        auto report = std::make_unique<ScanReport>();
        report->kind = kind;
        return report;
    }
    std::intptr_t Send(std::unique_ptr<ScanReport> report) {
        return order_.send ? order_.send(std::move(report)) : 0;
    }

    const ScanOrder& order_;
    bool statusShown_ = false;
    ULONGLONG lastStatus_ = 0;
};

// A drive's autorun entries: each program's running process (only the very file it names), the
// autorun file and the programs.
void DriveChecks(const std::string& root, const ScanOrder& order, Reporter& report) {
    const AutorunTargets targets = AnalyzeAutorunTargets(root);
    if (!targets.Found()) return;
    const std::vector<AutorunFinding> findings = FindingsOf(targets);
    std::vector<std::string> processes(findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        // A stick may name any program, a system one too: its process is listed (and so may be ended)
        // only when the program is one healing could take, and never for a host program of the system.
        if (!MatchesProcesses(targets.targets[i].kind)) continue;
        const bool ownTarget = order.targetMayBeTaken && order.targetMayBeTaken(findings[i].targetPath, root);
        if (ownTarget) processes[i] = FindRunningAutorunTarget(findings[i]);
    }
    for (const ScanRow& row : AutorunScanRowsForDrive(findings, processes)) report.Row(row);
}

void RemovableDriveChecks(const std::string& root, const ScanOrder& order, Reporter& report) {
    DriveChecks(root, order, report);
    WalkRemovableDrive(
        root, [&](const std::string& text) { report.Status(text); }, [&](const ScanRow& row) { report.Row(row); });
    // Only where the path itself leads: a link on the stick to a file elsewhere is not that threat.
    for (const FixedThreatPath& known : FixedThreatPaths(root)) {
        if (!FileIsWhereListed(known.path)) continue;
        ScanRow row = MakeScanRow(known.path, kKindFile, known.identification);
        row.exactPlace = true;
        report.Row(row);
    }
}

DWORD WINAPI ScanWorker(LPVOID parameter) {
    const std::unique_ptr<ScanOrder> order(static_cast<ScanOrder*>(parameter));
    Reporter report(*order);
    using Kind = ScanReport::Kind;

    report.Send(Kind::Begin);
    Sleep(kPhasePauseMs);
    const std::intptr_t areas = report.Send(Kind::Lock);

    RunDefinitionScan(
        order->definitionsFile, [&](const std::string& text) { report.Status(text); },
        [&](const ScanRow& row) { report.Row(row); });
    Sleep(kPhasePauseMs);
    report.Progress(30);

    if (areas & kScanLocalDrives)
        for (const std::string& root : DriveRoots(DriveKind::Fixed)) DriveChecks(root, *order, report);
    Sleep(kPhasePauseMs);
    report.Progress(60);

    if (areas & kScanRemovableMedia)
        for (const std::string& root : DriveRoots(DriveKind::Removable)) RemovableDriveChecks(root, *order, report);
    Sleep(kPhasePauseMs);
    report.Progress(100);

    report.Send(Kind::Finish);
    report.PostClosingPass();
    return 0;
}

} // namespace

bool StartScanWorker(ScanOrder order) {
    auto owned = std::make_unique<ScanOrder>(std::move(order));
    // Suspended until it is below normal priority; nothing waits for it and its handle is let go.
    UniqueHandle thread(CreateThread(nullptr, 0, ScanWorker, owned.get(), CREATE_SUSPENDED, nullptr));
    if (!thread) return false;
    owned.release();
    SetThreadPriority(thread.get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread.get());
    return true;
}

} // namespace tollivar
