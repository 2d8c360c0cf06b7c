#include "engine/scan_worker_win.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <string>

#include "app/handles_win.h"
#include "config/install_paths_win.h"
#include "engine/autorun_analysis_win.h"
#include "engine/definitions_scan_win.h"
#include "engine/drive_scan_win.h"
#include "engine/file_access_win.h"
#include "engine/process_lookup_win.h"
#include "engine/scan_report_win.h"
#include "heal/heal_lists_win.h"

namespace tollivar {
namespace {

std::atomic<bool> g_scanRunning{false};
bool g_scanUnderWay = false; // UI thread only

constexpr DWORD kPhasePauseMs = 200;
// The worker shows at most one "Analyzing" text in this time, so the UI thread is never flooded.
constexpr ULONGLONG kStatusIntervalMs = 50;

struct ScanOrder {
    HWND mainWindow;
    std::string definitionsFile;
};

// The worker's side of the reports: each one is sent and waited for, so rows arrive in order and a
// long scan cannot fill the UI thread's queue.
class Reporter {
  public:
    explicit Reporter(HWND mainWindow) : mainWindow_(mainWindow) {}

    LRESULT Send(ScanReport::Kind kind) {
        auto report = std::make_unique<ScanReport>();
        report->kind = kind;
        return Send(std::move(report));
    }
    void Row(const ScanRow& row) {
        auto report = std::make_unique<ScanReport>();
        report->kind = ScanReport::Kind::Row;
        report->row = row;
        Send(std::move(report));
    }
    void Progress(int position) {
        auto report = std::make_unique<ScanReport>();
        report->kind = ScanReport::Kind::Progress;
        report->progress = position;
        Send(std::move(report));
    }
    void Status(const std::string& text) {
        const ULONGLONG now = GetTickCount64();
        if (statusShown_ && now - lastStatus_ < kStatusIntervalMs) return;
        statusShown_ = true;
        lastStatus_ = now;
        auto report = std::make_unique<ScanReport>();
        report->kind = ScanReport::Kind::Status;
        report->text = text;
        Send(std::move(report));
    }
    // The closing pass may wait in the alert for as long as the user takes: the worker does not wait
    // for it. Without the message, the next monitor tick runs a pass all the same.
    void PostClosingPass() {
        auto report = std::make_unique<ScanReport>();
        report->kind = ScanReport::Kind::ClosingPass;
        if (PostMessageA(mainWindow_, kScanReportMessage, 0, reinterpret_cast<LPARAM>(report.get())))
            report.release();
    }

  private:
    LRESULT Send(std::unique_ptr<ScanReport> report) {
        if (!IsWindow(mainWindow_)) return 0;
        return SendMessageA(mainWindow_, kScanReportMessage, 0, reinterpret_cast<LPARAM>(report.release()));
    }

    HWND mainWindow_;
    bool statusShown_ = false;
    ULONGLONG lastStatus_ = 0;
};

template <typename Visit>
void ForEachDrive(Visit visit) {
    char drives[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length == 0 || length >= sizeof drives) return;
    for (const char* root = drives; *root; root += std::strlen(root) + 1) visit(std::string(root));
}

// A drive's autorun entry: the running program (only the very file it names), the autorun file and
// the program.
void DriveChecks(const std::string& root, Reporter& report) {
    const AutorunFinding finding = AnalyzeAutorun(root);
    if (!finding.Found()) return;
    // A stick may name any program, a system one too: its process is listed (and so may be ended)
    // only when the program is one healing could take.
    const bool ownTarget = AutorunTargetMayBeTaken(finding.targetPath, root, Paths().installFolder);
    const std::string process = ownTarget ? FindRunningAutorunTarget(finding) : std::string();
    for (const ScanRow& row : AutorunScanRows(finding, process)) report.Row(row);
}

void RemovableDriveChecks(const std::string& root, Reporter& report) {
    DriveChecks(root, report);
    WalkRemovableDrive(
        root, [&](const std::string& text) { report.Status(text); }, [&](const ScanRow& row) { report.Row(row); });
    for (const FixedThreatPath& known : FixedThreatPaths(root))
        if (FileExists(known.path)) report.Row(MakeScanRow(known.path, kKindFile, known.identification));
}

DWORD WINAPI ScanWorker(LPVOID parameter) {
    const std::unique_ptr<ScanOrder> order(static_cast<ScanOrder*>(parameter));
    Reporter report(order->mainWindow);
    using Kind = ScanReport::Kind;

    report.Send(Kind::Begin);
    Sleep(kPhasePauseMs);
    const LRESULT areas = report.Send(Kind::Lock);

    RunDefinitionScan(
        order->definitionsFile, [&](const std::string& text) { report.Status(text); },
        [&](const ScanRow& row) { report.Row(row); });
    Sleep(kPhasePauseMs);
    report.Progress(30);

    if (areas & kScanLocalDrives)
        ForEachDrive([&](const std::string& root) {
            if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) DriveChecks(root, report);
        });
    Sleep(kPhasePauseMs);
    report.Progress(60);

    if (areas & kScanRemovableMedia)
        ForEachDrive([&](const std::string& root) {
            if (root == "A:\\" || root == "B:\\") return;
            if (GetDriveTypeA(root.c_str()) == DRIVE_REMOVABLE) RemovableDriveChecks(root, report);
        });
    Sleep(kPhasePauseMs);
    report.Progress(100);

    report.Send(Kind::Finish);
    report.PostClosingPass();
    return 0;
}

} // namespace

void ClearScanRunning() { g_scanRunning = false; }
bool ScanRunning() { return g_scanRunning; }
void SetScanRunning(bool running) { g_scanRunning = running; }

bool ScanUnderWay() { return g_scanUnderWay; }
void EndScanUnderWay() { g_scanUnderWay = false; }

void StartScanCommand(HWND mainWindow) {
    if (g_scanUnderWay) return;
    auto order = std::make_unique<ScanOrder>(ScanOrder{mainWindow, Paths().definitionsFile});
    // Suspended until it is below normal priority; nothing waits for it and its handle is let go.
    UniqueHandle thread(CreateThread(nullptr, 0, ScanWorker, order.get(), CREATE_SUSPENDED, nullptr));
    if (!thread) return;
    order.release();
    g_scanUnderWay = true;
    SetThreadPriority(thread.get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread.get());
}

} // namespace tollivar
