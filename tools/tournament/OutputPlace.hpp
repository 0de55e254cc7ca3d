#pragma once

#include <cstdint>
#include <string>

namespace G {

// Where the bytes asked for under a path end up, as the user means the path rather than as its name reads: a
// plain file, or a name not taken yet, is replaced whole; a symbolic link is followed to the file it names,
// which is replaced while the link stays; "-" is standard output; anything else (a FIFO, a device, a
// terminal, an open file named through /proc, as /dev/stdout is) is written where it stands and is never
// removed or replaced, since it is not the tool's to remove.
class OutputPlace {
public:
    enum class Way : std::uint8_t { Replaced, InPlace, StandardOutput };

    // Looks at the path as it is now; throws a Failure with that status, naming the path and the system's
    // reason, for a folder, a loop of links or a path that cannot be looked at.
    OutputPlace(const std::string& path, int status);

    Way way() const { return how; }
    // The file that is replaced or written: the path itself, or where its links lead.
    const std::string& file() const { return target; }

private:
    Way how = Way::Replaced;
    std::string target;
};

} // namespace G
