#pragma once

// What differs between Linux and Windows, and nothing else: file names, file queries, the
// atomic replace of a file, operating-system error texts and the program's own arguments and
// console. The rest of the program is written once against these functions.
//
// File names travel through the program as UTF-8 text with '/' between folders. On Windows
// they become wide strings only at the system calls, never text in the ANSI code page.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace parvel {

// Path of a UTF-8 file name, for the standard library's file functions.
std::filesystem::path PathFromUtf8(const std::string& name);

// UTF-8 text of a path, with '/' between folders on both systems.
std::string Utf8FromPath(const std::filesystem::path& path);

// Whether "A.HEX" and "a.hex" are different names (Linux) or the same (Windows).
#ifdef _WIN32
constexpr bool kFileNamesKeepCase = false;
#else
constexpr bool kFileNamesKeepCase = true;
#endif

// Position of the last folder separator in a file name ('/' and on Windows also '\'), or npos.
std::size_t LastPathSeparator(const std::string& name);

enum class FileKind { Missing, Regular, Folder, Other };

struct FileQuery {
    FileKind kind = FileKind::Missing;
    unsigned long long size = 0;
    std::string error;  // German reason when the name could not be looked at
};

// What the name stands for, following symbolic links.
FileQuery QueryFile(const std::string& name);

// The file itself, whatever name it was reached by: two names with equal identities are one file.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator<(const FileIdentity& o) const {
        return volume != o.volume ? volume < o.volume : index < o.index;
    }
};
std::optional<FileIdentity> IdentityOf(const std::string& name);

// True when the program may create files in the folder.
bool FolderIsWritable(const std::string& folder);

struct WriteResult {
    bool ok = true;
    std::string error;  // operating-system reason on failure, German
};

// Writes content to path through a temporary file in the same folder that is flushed to disk
// and then put in place of path in one step. Until then the old file is untouched, so a failed
// write (disk full, no permission, missing folder) never harms it. An existing file keeps its
// permissions.
WriteResult AtomicWriteFile(const std::string& path, const std::string& content);

// German text of an error from the standard library's file functions.
std::string ErrorCodeText(const std::error_code& error);

// The program's arguments as UTF-8, whatever the console's code page.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes the console show the program's UTF-8 output as such.
void UseUtf8Console();

// A window program on Windows starts without a console: this connects its standard output and
// error to the console it was started from (when they lead nowhere), so that --help and
// --version print there. Does nothing on Linux.
void UseParentConsole();

}  // namespace parvel
