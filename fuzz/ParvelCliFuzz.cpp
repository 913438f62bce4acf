// Any bytes as one or two input files of the `parvel` command line, run in process through every
// command. The first byte picks the command; the rest is file 1, or file 1 and file 2 cut at the
// first "=====" line.
// Properties: the exit status is 0, 1 or 2; `info --json` prints one valid JSON document; every
// output line is readable text (valid UTF-8, no control character other than tab); the input
// files stay as they were and nothing is written outside the output folder.
// The target changes its working folder to an empty one of its own, so give libFuzzer absolute
// paths (scripts/fuzz does).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "image/Message.h"
#include "cli/ParvelCli.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

// The fuzzer's own folder: in/ holds the inputs, out/ takes every file a command writes, cwd/ is
// the working folder (relative names land there and must not). Made once per process.
struct Sandbox {
    std::string root, in, out, cwd, file1, file2;
    Sandbox() {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/parvel-cli-fuzz.XXXXXX";
        Check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
        root = pattern;
        in = root + "/in";
        out = root + "/out";
        cwd = root + "/cwd";
        for (const std::string* dir : {&in, &out, &cwd}) Check(::mkdir(dir->c_str(), 0700) == 0, "mkdir");
        Check(::chdir(cwd.c_str()) == 0, "chdir");
        file1 = in + "/file1.hex";
        file2 = in + "/file2.hex";
    }
    ~Sandbox() { Remove(); }
    void Remove();
    static Sandbox& Get() {
        static Sandbox sandbox;
        return sandbox;
    }
};

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(d);
    }
    return names;
}

void ClearFolder(const std::string& dir) {
    for (const std::string& name : Entries(dir)) ::unlink((dir + "/" + name).c_str());
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << content;
    Check(static_cast<bool>(f), "write input");
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void CheckReadable(const std::string& text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (parvel::ReadableText(line) != line) {
            std::fprintf(stderr, "unreadable output line: %s\n", parvel::ReadableText(line).c_str());
            Check(false, "output is readable text");
        }
        start = end + 1;
    }
}

void Sandbox::Remove() {
    for (const std::string* dir : {&in, &out, &cwd}) {
        ClearFolder(*dir);
        ::rmdir(dir->c_str());
    }
    ::rmdir(root.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 64 * 1024) return 0;
    Sandbox& box = Sandbox::Get();
    const int command = data[0] % 9;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = rest.find("=====\n");
    const std::string content1 = rest.substr(0, cut);
    const std::string content2 = cut == std::string::npos ? rest : rest.substr(cut + 6);

    ClearFolder(box.out);
    WriteFile(box.file1, content1);
    WriteFile(box.file2, content2);

    const std::string out_hex = box.out + "/out.hex";
    std::vector<std::string> args{"parvel"};
    switch (command) {
        case 0: args.insert(args.end(), {"info", box.file1}); break;
        case 1: args.insert(args.end(), {"info", box.file1, "--json"}); break;
        case 2: args.insert(args.end(), {"info", box.file1, "--json", "--default-config"}); break;
        case 3:
            args.insert(args.end(), {"set", box.file1, "-o", out_hex, "--address", "1=5", "--function",
                                     "2=3", "--green", "3", "--default-config"});
            break;
        case 4: args.insert(args.end(), {"dump", box.file1}); break;
        case 5: args.insert(args.end(), {"diff", box.file1, box.file2}); break;
        case 6: args.insert(args.end(), {"diff", box.file1, box.file2, "--decoder"}); break;
        case 7:
            args.insert(args.end(), {"series", box.file1, "--first", "7", "--count", "3", "--out-dir",
                                     box.out, "--default-config"});
            break;
        default: args.insert(args.end(), {"migrate", box.file1, box.file2, "-o", out_hex}); break;
    }

    std::ostringstream out, err;
    const int status = parvel::RunParvel(args, out, err);
    Check(status == 0 || status == 1 || status == 2, "exit status 0, 1 or 2");
    if (command == 1 || command == 2) {
        // A file that cannot be read at all ends before any output.
        Check(status == 2 || nlohmann::json::accept(out.str()), "--json prints valid JSON");
    }
    CheckReadable(out.str());
    CheckReadable(err.str());

    Check(ReadFile(box.file1) == content1, "file 1 unchanged");
    Check(ReadFile(box.file2) == content2, "file 2 unchanged");
    Check(Entries(box.in).size() == 2, "nothing new beside the inputs");
    Check(Entries(box.cwd).empty(), "nothing written into the working folder");
    Check(Entries(box.root).size() == 3, "nothing new in the sandbox");
    for (const std::string& name : Entries(box.out)) {
        Check(name[0] != '.', "no temporary file left behind");
    }
    return 0;
}
