#include "updater/desktop_start_win.h"

#include <windows.h>
#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "win/handles_win.h"

namespace tollivar {
namespace {

// Releases a COM interface once.
template <typename Interface> class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_) p_->Release();
    }
    Interface* operator->() const { return p_; }
    Interface** put() { return &p_; }
    void** put_void() { return reinterpret_cast<void**>(&p_); }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    Interface* p_ = nullptr;
};

class Bstr {
  public:
    explicit Bstr(const std::string& text) {
        const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        if (n <= 0) return;
        text_ = SysAllocStringLen(nullptr, static_cast<UINT>(n - 1));
        if (text_) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, text_, n);
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }
    BSTR get() const { return text_; }

  private:
    BSTR text_ = nullptr;
};

VARIANT TextVariant(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text; // owned by the caller's Bstr
    return v;
}

// The desktop's view asked for its shell object: the documented way to reach the ShellExecute of the
// shell's own process.
bool ShellExecuteOnDesktop(BSTR file, BSTR folder) {
    ComRef<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.put_void())))
        return false;
    VARIANT desktopLocation;
    VariantInit(&desktopLocation);
    VARIANT noRoot;
    VariantInit(&noRoot);
    long window = 0;
    ComRef<IDispatch> desktop;
    if (windows->FindWindowSW(&desktopLocation, &noRoot, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              desktop.put()) != S_OK ||
        !desktop)
        return false;
    ComRef<IServiceProvider> services;
    ComRef<IShellBrowser> browser;
    ComRef<IShellView> view;
    ComRef<IDispatch> background;
    ComRef<IShellFolderViewDual> folderView;
    ComRef<IDispatch> application;
    ComRef<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.put_void())) ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) ||
        FAILED(browser->QueryActiveShellView(view.put())) || !view ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) || !background ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.put_void())) ||
        FAILED(folderView->get_Application(application.put())) || !application ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.put_void())))
        return false;
    Bstr verb("open");
    VARIANT noArguments;
    VariantInit(&noArguments);
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return SUCCEEDED(
        shell->ShellExecute(file, noArguments, TextVariant(folder), TextVariant(verb.get()), show));
}

} // namespace

std::optional<bool> ProcessIsElevated() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return std::nullopt;
    const UniqueHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return std::nullopt;
    return elevation.TokenIsElevated != 0;
}

bool StartAsDesktopUser(const std::string& program, const std::string& folder) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    bool started = false;
    {
        const Bstr file(program);
        const Bstr where(folder);
        started = file.get() && where.get() && ShellExecuteOnDesktop(file.get(), where.get());
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return started;
}

} // namespace tollivar
