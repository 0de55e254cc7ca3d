#pragma once

#include <stdexcept>
#include <string>

namespace G {

// The one way the parts of quorvel-tournament report what went wrong, in every mode: the part that finds the
// problem throws a Failure with the sentence a user reads and the exit status that goes with it, and main
// alone catches it, prints "quorvel-tournament: " and the sentence, and exits with the status. A function of
// a part's interface that returns has done its job (inside a part, a helper may hand a reason up to the one
// that throws). Statuses: 1 when a run fails (a worker crashed, a file could not be written, no display or
// window to draw in), 2 when a run cannot start (a bad option, a CSV file that cannot be merged, a watch or a
// recording without its assets or its file), 130 when a stop signal ended it.
class Failure : public std::runtime_error {
public:
    Failure(int status, const std::string& message);

    int status() const { return exitStatus; }

private:
    int exitStatus;
};

} // namespace G
