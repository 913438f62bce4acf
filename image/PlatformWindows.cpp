#include "image/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "image/Message.h"

namespace parvel {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                        nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(n - 1));
    return text;
}

// German text of a Windows error code; the common ones say what the user can do about it.
std::string WindowsErrorText(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH: return "Datei oder Ordner nicht gefunden";
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD: return "keine Berechtigung";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return "die Datei ist von einem anderen Programm geöffnet";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return "Datenträger voll";
        case ERROR_WRITE_PROTECT: return "Datenträger schreibgeschützt";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return "die Datei gibt es schon";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY: return "ungültiger Datei- oder Ordnername";
        case ERROR_FILENAME_EXCED_RANGE: return "Dateiname zu lang";
        case ERROR_NOT_READY: return "Laufwerk nicht bereit";
        case ERROR_DEV_NOT_EXIST:
        case ERROR_NETNAME_DELETED: return "Laufwerk nicht mehr verbunden";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return "zu wenig Arbeitsspeicher";
    }
    return "Windows-Fehler " + std::to_string(code);
}

std::string LastErrorText() { return WindowsErrorText(::GetLastError()); }

// The absolute form with '\' only: ReplaceFileW does not take every relative or '/' form.
std::wstring FullPath(const std::wstring& name) {
    const DWORD n = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (n == 0) return name;
    std::wstring full(n, L'\0');
    const DWORD written = ::GetFullPathNameW(name.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n) return name;
    full.resize(written);
    return full;
}

bool GetAttributes(const std::wstring& name, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return ::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data) != 0;
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& name) { return std::filesystem::path(Wide(name)); }

std::string Utf8FromPath(const std::filesystem::path& path) {
    return Utf8(path.generic_wstring().c_str());
}

std::size_t LastPathSeparator(const std::string& name) { return name.find_last_of("/\\"); }

FileQuery QueryFile(const std::string& name) {
    FileQuery query;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetAttributes(Wide(name), data)) {
        query.error = LastErrorText();
        return query;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) query.kind = FileKind::Folder;
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) query.kind = FileKind::Other;
    else query.kind = FileKind::Regular;
    query.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return query;
}

std::optional<FileIdentity> IdentityOf(const std::string& name) {
    // Opening without access rights is enough to read the identity; folders need the backup flag.
    HANDLE h = ::CreateFileW(Wide(name).c_str(), 0,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    if (!ok) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool FolderIsWritable(const std::string& folder) {
    // Windows has no cheap question for this (access rights, UAC virtualisation, read-only
    // media): try it with a temporary file that removes itself.
    std::wstring probe = Wide(folder.empty() ? std::string(".") : folder);
    if (!probe.empty() && probe.back() != L'\\' && probe.back() != L'/') probe += L'\\';
    probe += L".hexparvel-write-test-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

WriteResult AtomicWriteFile(const std::string& path, const std::string& content) {
    WriteResult result;
    const std::size_t slash = LastPathSeparator(path);
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::wstring target = FullPath(Wide(path));

    WIN32_FILE_ATTRIBUTE_DATA existing{};
    const bool exists = GetAttributes(target, existing);
    if (exists && (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        result.ok = false;
        result.error = "ist ein Ordner";
        return result;
    }

    // A new temporary name beside the target; CREATE_NEW never opens someone else's file.
    std::random_device seed;
    std::mt19937 random(seed());
    std::wstring tmp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::string suffix;
        for (int i = 0; i < 6; ++i) suffix += kLetters[random() % 36];
        tmp = FullPath(Wide(dir + "." + base + "." + suffix));
        h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (h == INVALID_HANDLE_VALUE) {
        result.ok = false;
        result.error = LastErrorText();
        return result;
    }
    auto fail = [&](DWORD code, HANDLE open) {
        result.ok = false;
        result.error = WindowsErrorText(code);
        if (open != INVALID_HANDLE_VALUE) ::CloseHandle(open);
        ::DeleteFileW(tmp.c_str());
        return result;
    };
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(h, p, chunk, &written, nullptr)) return fail(::GetLastError(), h);
        p += written;
        left -= written;
    }
    if (!::FlushFileBuffers(h)) return fail(::GetLastError(), h);
    if (!::CloseHandle(h)) return fail(::GetLastError(), INVALID_HANDLE_VALUE);
    // ReplaceFileW keeps the old file's attributes and access rights, as the Linux build keeps
    // its mode; a new file simply moves into place. Both leave the old file whole on failure.
    if (exists) {
        if (!::ReplaceFileW(target.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr)) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_UNABLE_TO_MOVE_REPLACEMENT && code != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
                code != ERROR_UNABLE_TO_REMOVE_REPLACED)
                return fail(code, INVALID_HANDLE_VALUE);
            if (!::MoveFileExW(tmp.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return fail(::GetLastError(), INVALID_HANDLE_VALUE);
        }
    } else if (!::MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return fail(::GetLastError(), INVALID_HANDLE_VALUE);
    }
    return result;
}

std::string ErrorCodeText(const std::error_code& error) {
    if (error.category() == std::system_category()) return WindowsErrorText(static_cast<DWORD>(error.value()));
    return SystemErrorText(error.value());
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    // The narrow arguments are in the ANSI code page and lose every character it lacks; the
    // wide command line has them all.
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

void UseUtf8Console() {
    ::SetConsoleOutputCP(CP_UTF8);
}

void UseParentConsole() {
    // Output redirected to a file or a pipe already has somewhere to go.
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    UseUtf8Console();
}

}  // namespace parvel
