#include "TextFile.h"

#include "Message.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fstream>

namespace parvel {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    const std::size_t end = std::min(text.find('\0'), text.size());
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < end) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text, start, i - start);
            if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < end) lines.emplace_back(text, start, end - start);
    return lines;
}

LinesResult ReadTextLines(const std::string& path, std::size_t max_lines) {
    LinesResult result;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = SystemErrorText(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = S_ISDIR(st.st_mode) ? "ist ein Ordner" : "ist keine Datei";
        return result;
    }
    if (static_cast<unsigned long long>(st.st_size) > kMaxTextFileBytes) {
        result.failure = ReadFailure::TooLarge;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = SystemErrorText(errno);
        return result;
    }
    // Read in chunks up to one byte beyond the cap: files whose size stat cannot tell (/proc)
    // stay bounded, and a normal file costs no more than its own size.
    std::string text;
    text.reserve(static_cast<std::size_t>(st.st_size) + 1);
    char chunk[16384];
    while (text.size() <= kMaxTextFileBytes && in.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = SystemErrorText(errno);
        return result;
    }
    if (text.size() > kMaxTextFileBytes) {
        result.failure = ReadFailure::TooLarge;
        return result;
    }
    result.lines = SplitLines(text);
    if (result.lines.size() > max_lines) {
        result.lines.clear();
        result.failure = ReadFailure::TooManyLines;
    }
    return result;
}

std::string ReadFailureText(const LinesResult& result, const std::string& raw_path) {
    const std::string path = ReadableText(raw_path);
    switch (result.failure) {
        case ReadFailure::None: return {};
        case ReadFailure::CannotOpen: return "Cannot open file " + path;
        case ReadFailure::TooLarge:
            return "Die Datei " + path +
                   " ist zu gross für ein HEX-File (mehr als 8 MB) und wurde nicht gelesen.";
        case ReadFailure::TooManyLines:
            return "Die Datei " + path +
                   " hat mehr als 512 Zeilen und ist kein HEX-File dieser Dekoder; sie wurde "
                   "nicht gelesen.";
    }
    return {};
}

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

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace parvel
