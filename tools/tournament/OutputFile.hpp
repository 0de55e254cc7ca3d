#pragma once

#include <string>

// The files that quorvel-tournament writes (--csv, --svg, --record): each checked before the run begins, so
// that a mistyped path costs no games. A plain file is written whole under a temporary name beside it and
// renamed into place, so that a reader never sees half a file and a failed run leaves none; a link is
// followed to its file, which is written so; a FIFO, a device or standard output ("-") is written where it
// stands (OutputPlace).
namespace G::outputFile {

// Throws a Failure (status 2) that names the path and the system's reason unless the path can be written: a
// file can be made in the folder of a file to replace, and a file written in place is open to writing.
void check(const std::string& path);

// The name that a file is written under until it is whole: beside it, so that the rename stays within one
// file system, with the process's id, which keeps runs apart.
std::string temporaryFor(const std::string& path);

// Writes the text where the path leads; throws a Failure (status 1) that names the path and the system's
// reason when that fails, and then leaves no file in the place of a file to replace.
void write(const std::string& path, const std::string& text);

// Whether both paths name one file to replace, by way of links or not.
bool replacesOneFile(const std::string& one, const std::string& other);

// Whether the path names standard output ("-"), where the summary cannot go as well.
bool isStandardOutput(const std::string& path);

} // namespace G::outputFile
