// The test side of the Wine bench: throw-away install folders, the simulated drives, file helpers.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tollivar::test {

// The bench folder (a Unix path) the tests run in, from TOLLIVAR_BENCH.
std::string BenchUnixDir();

// A Windows path for a Unix path of the build tree (Wine maps paths outside its drives itself).
std::string DosPathOfUnix(const std::string& unixPath);

// The built tollguard.exe, as a Windows path.
std::string ProgramUnderTest();

// Where screenshots go: <build>/screenshots/<name>.png, as a Windows path.
std::string ScreenshotPath(const std::string& name);

// Files: whole-file text, attributes, folders.
bool WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
DWORD Attributes(const std::string& path);
// The names of the files (not folders) directly in a folder given with its trailing backslash.
// The quarantined files of a quarantine folder: its names without the records beside them.
std::vector<std::string> QuarantinedFileNames(const std::string& folder);
std::vector<std::string> FileNamesIn(const std::string& folder);
void DeleteTree(const std::string& path);      // also beyond MAX_PATH
void DeleteContents(const std::string& folder); // everything inside, the folder stays
bool MakeFolders(const std::string& path); // also beyond MAX_PATH
std::wstring LongPathW(const std::string& path); // "\\?\" + path, as a wide string
std::wstring Widen(const std::string& text);

// A fresh install folder under C:\ holding a copy of tollguard.exe; removed again when it goes.
class InstallFolder {
  public:
    explicit InstallFolder(const std::string& name = "Tollivar Test");
    ~InstallFolder();
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    // Ends with a backslash.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& relative) const { return path_ + relative; }
    std::string ExePath() const { return File("tollguard.exe"); }

  private:
    std::string path_;
};

// A simulated drive whose root folder the test controls. E: is removable: it is listed while pulled,
// but its root cannot be read; Insert creates the root, Pull removes it with everything on it.
class SimulatedDrive {
  public:
    SimulatedDrive(char letter, const std::string& folderName);
    void Insert();
    void Pull();
    void Clear(); // inserts the drive and empties its root
    std::string Root() const { return std::string(1, letter_) + ":\\"; }
    std::string Path(const std::string& relative) const { return Root() + relative; }
    bool Write(const std::string& relative, const std::string& content) const;
    // Prepares a stick's files out of sight, then inserts it in one step (a rename), so that a
    // stick appears whole to a program polling the drives.
    bool Stage(const std::vector<std::pair<std::string, std::string>>& files);
    bool InsertStaged(); // at once: two sticks inserted together appear within one pass
    // Until a program resolves files on the stick to its letter (Wine refreshes that once a second;
    // Insert waits for it, InsertStaged does not).
    void WaitUntilResolvable() const;

  private:
    char letter_;
    std::string dosFolder_;
};

SimulatedDrive& RemovableStick(); // E:
SimulatedDrive& FixedDrive();     // F:
SimulatedDrive& SecondStick();    // G:, removable

} // namespace tollivar::test
