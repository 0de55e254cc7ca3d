#pragma once

// The scans of the arena are written for the compiler to vectorise. Where the processor has AVX2, a function
// marked QUORVEL_WIDE_SCAN also runs in a version built for it, picked once at load time; elsewhere the
// baseline version runs. Both do the same float arithmetic, so the results are the same. (GCC only: clang
// handles such clones of member functions differently, and the sanitizers want one version.) Only the scans
// whose AVX2 version makes the update a tenth faster or more are marked: the nearest search and the overlap
// scan of a hunter's own list; the capture scan, which tests only the few prey near a hunter, gains nothing.
// QUORVEL_BASELINE_SCANS keeps the baseline version alone: the benchmarks build a second core library with
// it, and time the two in turn to see what the AVX2 versions gain on the same machine.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) &&                           \
    !defined(__SANITIZE_ADDRESS__) && !defined(QUORVEL_BASELINE_SCANS)
#define QUORVEL_WIDE_SCAN __attribute__((target_clones("avx2", "default")))
#else
#define QUORVEL_WIDE_SCAN
#endif

// A part shared by scans, built into each version of each of them: called instead, it would run in its
// baseline version from the AVX2 ones, as GCC chose to do for the overlap test of a block.
#if defined(__GNUC__)
#define QUORVEL_SCAN_PART inline __attribute__((always_inline))
#else
#define QUORVEL_SCAN_PART inline
#endif
