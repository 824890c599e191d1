// CFakeOs: the machine's version, faults, call log, start-up calls, processes, windows and boxes.
#include "sim/fake_os.h"

#include "sim/ansi_names.h"
#include "sim/launcher_lock.h"
#include "sim/scribble.h"
#include "sim/windows_values.h"

#include "platform/mbcs_text.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// The machine installed for the launcher's logic and the thread that installed it;
// the launcher's lock is held from the outermost installation to its end. g_fakeOs is read and
// written only by the thread g_owner names.
std::atomic<std::uintptr_t> g_owner{0};
CFakeOs* g_fakeOs = nullptr;

bool InstalledHere() {
    return g_owner.load() == ThisThread();
}

// WinExec's answer for a program it started: any value above 31.
const std::uint32_t kExecStarted = 33;

// MessageBoxA refuses a type it does not know (ERROR_INVALID_MSGBOX_STYLE) and shows nothing.
// Returns the first button's ID, the one the simulated user presses, or 0 for a type Windows
// refuses.
int FirstButtonOf(std::uint32_t type, bool nt5) {
    using namespace windows;
    static const int firstButton[] = {kIdOk, kIdOk, kIdAbort, kIdYes, kIdYes, kIdRetry, kIdCancel};
    const std::uint32_t buttons = type & kButtonsMask;
    const std::uint32_t icon = type & kIconMask;
    const std::uint32_t defaultButton = type & kDefaultButtonMask;
    const std::uint32_t modality = type & kModalityMask;
    if (buttons > (nt5 ? kLastButtonsNt5 : kLastButtons9x) ||
        (icon != 0 && (icon < kFirstIcon || icon > kLastIcon)) ||
        defaultButton > kLastDefaultButton || modality == kModalityMask)
        return 0;
    return firstButton[buttons];
}
}  // namespace

COsApi& Os() {
    if (!InstalledHere()) {
        std::fputs("Os() used with no CFakeOs installed on this thread\n", stderr);
        std::abort();
    }
    return *g_fakeOs;
}

const char* FakeOpName(FakeOp op) {
#define FAKE_OP_NAME(name) #name,
    static const char* const names[] = {FAKE_OPS(FAKE_OP_NAME)};
#undef FAKE_OP_NAME
    static_assert(sizeof names / sizeof names[0] ==
                      static_cast<std::size_t>(FakeOp::ExitProcess) + 1,
                  "one name for each operation");
    return names[static_cast<int>(op)];
}

FakeOsInstalled::FakeOsInstalled(CFakeOs& os) : m_outermost(!InstalledHere()) {
    if (m_outermost) {
        LockLauncher();
        g_owner.store(ThisThread());
        g_fakeOs = &os;
    } else if (g_fakeOs != &os) {
        std::fputs("a second CFakeOs installed while another is in place\n", stderr);
        std::abort();
    }
    MbLoadLeadBytes();
}

FakeOsInstalled::~FakeOsInstalled() {
    if (m_outermost) {
        g_fakeOs = nullptr;
        g_owner.store(0);
        UnlockLauncher();
    }
}

CFakeOs::CFakeOs() {
    SetVersion(windows::kPlatformNt, 5, 1, 2600);
}

CFakeOs::~CFakeOs() {
    if (InstalledHere() && g_fakeOs == this) {
        std::fputs("a CFakeOs destroyed while installed\n", stderr);
        std::abort();
    }
}

void CFakeOs::SetCodePage(int codePage) {
    m_codePage = codePage;
    if (InstalledHere() && g_fakeOs == this)
        MbLoadLeadBytes();
}

void CFakeOs::SetVersion(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                         std::uint32_t build) {
    m_version = OsVersionInfo{};
    m_version.dwPlatformId = platform;
    m_version.dwMajorVersion = major;
    m_version.dwMinorVersion = minor;
    m_version.dwBuildNumber = build;
    std::strcpy(m_version.szCSDVersion, "Service Pack 1");

    // Windows 9x deletes a key with its subkeys and has no registry security; NT refuses to
    // delete a key that has subkeys, and lets an administrator only read below
    // HKLM\SYSTEM\CurrentControlSet\Enum (LocalSystem alone may write there).
    deleteKeyTrees = platform == windows::kPlatformWindows;
    registrySecurity = platform == windows::kPlatformNt;
    // OSVERSIONINFOEXA is known from Windows 2000 on (NT 4 from its Service Pack 6); Windows
    // 9x and earlier NT take only OSVERSIONINFOA.
    if (platform == windows::kPlatformNt && major >= 5)
        acceptedVersionSizes = {windows::kExtendedRecordSize, windows::kBasicRecordSize};
    else
        acceptedVersionSizes = {windows::kBasicRecordSize};
}

bool CFakeOs::SameName(const std::string& a, const std::string& b) const {
    return SameAnsiName(a, b, m_codePage);
}

void CFakeOs::FailCall(FakeOp op, int nth) {
    m_failures[op].insert(nth);
}

void CFakeOs::FailAlways(FakeOp op) {
    m_alwaysFail.insert(op);
}

void CFakeOs::FailCallNumber(int n) {
    m_failCallNumbers.insert(n);
}

std::string CFakeOs::CallLog() const {
    std::string log;
    for (FakeOp op : calls) {
        if (!log.empty())
            log += ' ';
        log += FakeOpName(op);
    }
    return log;
}

bool CFakeOs::Called(FakeOp op) {
    calls.push_back(op);
    const int nth = ++m_callCounts[op];
    return m_alwaysFail.count(op) != 0 || m_failures[op].count(nth) != 0 ||
           m_failCallNumbers.count(static_cast<int>(calls.size())) != 0;
}

void CFakeOs::SetMultibyteCodePage() {
    Called(FakeOp::SetMultibyteCodePage);
}

bool CFakeOs::IsLeadByte(unsigned char byte) {
    return IsLeadByteIn(m_codePage, byte);
}

void CFakeOs::InitCommonControls() {
    Called(FakeOp::InitCommonControls);
}

std::uint32_t CFakeOs::GetModuleFileNameA(OsInstance, char* buffer, std::uint32_t size) {
    if (Called(FakeOp::GetModuleFileNameA)) {
        Scribble(buffer, size);
        return 0;
    }
    const std::uint32_t length = static_cast<std::uint32_t>(modulePath.size());
    if (length < size) {
        std::memcpy(buffer, modulePath.c_str(), length + 1);
        return length;
    }
    if (size == 0)
        return 0;
    // A path that does not fit is cut to the buffer's size and the size returned. Windows
    // 2000 and XP (and here 9x) leave it without a NUL; Vista and later end it with one.
    // https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-getmodulefilenamea
    if (IsNt() && m_version.dwMajorVersion >= 6) {
        std::memcpy(buffer, modulePath.data(), size - 1);
        buffer[size - 1] = '\0';
    } else {
        std::memcpy(buffer, modulePath.data(), size);
    }
    return size;
}

int CFakeOs::GetVersionExA(OsVersionInfo* info) {
    if (Called(FakeOp::GetVersionExA) || acceptedVersionSizes.count(info->dwOSVersionInfoSize) == 0)
        return 0;
    const std::uint32_t size = info->dwOSVersionInfoSize;
    OsVersionInfo filled = m_version;
    filled.dwOSVersionInfoSize = size;
    std::memcpy(info, &filled, size);
    return 1;
}

bool CFakeOs::ProgramExists(const std::string& commandLine) const {
    // A quoted first word names the program. Unquoted, each blank may end its path: the
    // paths are tried from the shortest, each also with ".exe" added, as CreateProcess does.
    // https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-createprocessa
    if (!commandLine.empty() && commandLine[0] == '"') {
        const std::size_t close = commandLine.find('"', 1);
        return close != std::string::npos && FindFile(commandLine.substr(1, close - 1)) != nullptr;
    }
    for (std::size_t end = commandLine.find(' ');; end = commandLine.find(' ', end + 1)) {
        const std::string path = commandLine.substr(0, end);
        if (FindFile(path) != nullptr || FindFile(path + ".exe") != nullptr)
            return true;
        if (end == std::string::npos)
            return false;
    }
}

std::uint32_t CFakeOs::WinExec(const char* commandLine, std::uint32_t show) {
    commandLines.push_back(commandLine);
    execShowModes.push_back(show);
    if (Called(FakeOp::WinExec) || !ProgramExists(commandLine))
        return static_cast<std::uint32_t>(windows::kFileNotFound);
    if (onWinExec)
        onWinExec(*this, commandLine);
    return kExecStarted;
}

void CFakeOs::Sleep(std::uint32_t milliseconds) {
    Called(FakeOp::Sleep);
    sleeps.push_back(milliseconds);
    nowMs += milliseconds;
}

OsWindow CFakeOs::FindWindowA(const char* className, const char* title) {
    // The simulated windows have no class, so a class name matches none of them; no title
    // matches every window.
    if (Called(FakeOp::FindWindowA) || className != nullptr)
        return nullptr;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const FakeWindow& window = windows[i];
        if ((title == nullptr || SameName(window.title, title)) && window.opensAtMs <= nowMs &&
            nowMs < window.closesAtMs)
            return reinterpret_cast<OsWindow>(i + 1);
    }
    return nullptr;
}

int CFakeOs::MessageBoxA(OsWindow owner, const char* text, const char* caption,
                         std::uint32_t type) {
    const bool nt5 = IsNt() && m_version.dwMajorVersion >= 5;
    if (Called(FakeOp::MessageBoxA) || owner != nullptr)
        return 0;
    const int pressed = FirstButtonOf(type, nt5);
    if (pressed == 0)
        return 0;
    boxes.push_back(FakeMessageBox{caption == nullptr ? "Error" : caption, text, type});
    return pressed;
}

void CFakeOs::ExitProcess(int status) {
    Called(FakeOp::ExitProcess);
    throw FakeProcessExit{status};
}
