#pragma once

#include <string>
#include <vector>

namespace parvel {

// Browsing with "<" and ">": the HEX files of the loaded file's folder, in the order the
// operating system lists them (deliberately unsorted), wrapping around at both ends.

struct Neighbours {
    std::string prev_file;  // full path, or empty
    std::string next_file;
};

// Folder part of path with its trailing separator ("" when there is none), and the name part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Neighbours of `name` among `entries` (file names in listing order). Empty when the name is
// not among the entries or it is the only one; with two entries both point to the other one.
Neighbours FindNeighbourFiles(const std::vector<std::string>& entries, const std::string& name,
                              const std::string& folder);

// Names matching "*.hex" in folder, in the directory's own order: ordinary files only, hidden
// files left out. The match is case-sensitive where the platform's file names are.
std::vector<std::string> ListHexFiles(const std::string& folder);

// Both steps for a loaded file.
Neighbours FindNeighbourFiles(const std::string& path);

}  // namespace parvel
