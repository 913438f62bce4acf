#include "image/Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "image/Message.h"

namespace parvel {

std::filesystem::path PathFromUtf8(const std::string& name) { return std::filesystem::path(name); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

std::size_t LastPathSeparator(const std::string& name) { return name.find_last_of('/'); }

FileQuery QueryFile(const std::string& name) {
    FileQuery query;
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) {
        query.error = SystemErrorText(errno);
        return query;
    }
    query.kind = S_ISREG(st.st_mode)   ? FileKind::Regular
                 : S_ISDIR(st.st_mode) ? FileKind::Folder
                                       : FileKind::Other;
    query.size = static_cast<unsigned long long>(st.st_size);
    return query;
}

std::optional<FileIdentity> IdentityOf(const std::string& name) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool FolderIsWritable(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

WriteResult AtomicWriteFile(const std::string& path, const std::string& content) {
    WriteResult result;
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tmp = (slash == std::string::npos ? std::string() : dir) + "." + base + ".XXXXXX";

    auto fail = [&](int err, int fd) {
        result.ok = false;
        result.error = SystemErrorText(err);
        if (fd >= 0) ::close(fd);
        ::unlink(tmp.c_str());
        return result;
    };

    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode)) {
        result.ok = false;
        result.error = S_ISDIR(target.st_mode) ? "ist ein Ordner" : "ist keine gewöhnliche Datei";
        return result;
    }

    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        result.ok = false;
        result.error = SystemErrorText(errno);
        return result;
    }
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno, fd);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno, fd);
    mode_t mode = 0666;
    if (exists) {
        mode = target.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno, fd);
    if (::close(fd) != 0) return fail(errno, -1);
    if (::rename(tmp.c_str(), path.c_str()) != 0) return fail(errno, -1);
    // Make the rename itself durable; a failure here does not undo the completed write.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return result;
}

std::string ErrorCodeText(const std::error_code& error) {
    // On Linux both the generic and the system category carry errno values.
    return SystemErrorText(error.value());
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Console() {}

void UseParentConsole() {}

}  // namespace parvel
