#include "app/NeighbourFiles.h"

#include <filesystem>
#include <system_error>

#include "image/Platform.h"

namespace parvel {

namespace {

bool HasHexExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    if (!kFileNamesKeepCase) {
        for (char& c : ext) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext == ".hex";
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t sep = LastPathSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string NameOf(const std::string& path) {
    const std::size_t sep = LastPathSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

Neighbours FindNeighbourFiles(const std::vector<std::string>& entries, const std::string& name,
                              const std::string& folder) {
    Neighbours result;
    const int n = static_cast<int>(entries.size());
    int cur = -1;
    for (int i = 0; i < n; ++i) {
        if (entries[i] == name) {
            cur = i;
            break;
        }
    }
    if (cur < 0) return result;

    const int last = n - 1;
    int prev, next;
    if (cur == last) {
        prev = last - 1;
        next = 0;
    } else if (cur == 0) {
        prev = last;
        next = 1;
    } else {
        prev = cur - 1;
        next = cur + 1;
    }
    for (int i = 0; i < n; ++i) {
        if (i == prev && i != cur) result.prev_file = folder + entries[i];
        if (i == next && i != cur) result.next_file = folder + entries[i];
    }
    return result;
}

std::vector<std::string> ListHexFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(PathFromUtf8(folder.empty() ? std::string(".") : folder), ec);
    if (ec) return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = Utf8FromPath(it->path().filename());
        if (name.empty() || name[0] == '.' || !HasHexExtension(name)) continue;
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec)) continue;
        names.push_back(name);
    }
    return names;
}

Neighbours FindNeighbourFiles(const std::string& path) {
    const std::string folder = FolderOf(path);
    return FindNeighbourFiles(ListHexFiles(folder), NameOf(path), folder);
}

}  // namespace parvel
