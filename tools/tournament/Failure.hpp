#pragma once

#include <stdexcept>
#include <string>

namespace G {

// The one way quorvel-tournament reports what went wrong, in every mode and every part of it: the part that
// finds the problem throws a Failure with the sentence a user reads and the exit status that goes with it,
// and main alone catches it, prints "quorvel-tournament: " and the sentence, and exits with the status.
// Nothing else returns an error: a function that returns has done its job. Statuses: 1 when a run fails
// (a worker crashed, a file could not be written, the display went away), 2 when a run cannot start (a bad
// option, a CSV file that cannot be merged, a watch or a recording that cannot begin), 130 when a stop
// signal ended it.
class Failure : public std::runtime_error {
public:
    Failure(int status, const std::string& message);

    int status() const { return exitStatus; }

private:
    int exitStatus;
};

} // namespace G
