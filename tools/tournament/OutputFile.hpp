#pragma once

#include <string>

// The files that quorvel-tournament writes (--csv, --svg, --record): each checked before the run begins, so
// that a mistyped path costs no games, and written whole under a temporary name beside it and renamed into
// place, so that a reader never sees half a file and a failed run leaves none.
namespace G::outputFile {

// Throws a Failure (status 2) that names the path and the system's reason unless a file can be made in the
// path's folder and the path itself is no folder.
void check(const std::string& path);

// The name that the file is written under until it is whole: beside it, so that the rename stays within one
// file system, with the process's id, which keeps runs apart.
std::string temporaryFor(const std::string& path);

// Writes the text into the file; throws a Failure (status 1) that names the path and the system's reason,
// and leaves no file, when that fails.
void write(const std::string& path, const std::string& text);

} // namespace G::outputFile
