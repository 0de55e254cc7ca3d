#!/bin/sh
# Configures the project against a stand-in SFML package of the given version, with the places where CMake
# finds the system's own packages switched off, and expects the configuration to fail with a message that names
# the range QUORVEL accepts and the version it found.
#   sfml-version-check.sh SOURCE_DIR VERSION
set -u
source_dir=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/sfml"
# The version file that CMake's own helper writes for SFML: the same major version only.
cat >"$work/sfml/SFMLConfigVersion.cmake" <<CMAKE
set(PACKAGE_VERSION "$version")
string(REGEX MATCH "^[0-9]+" installed_major "$version")
if(PACKAGE_FIND_VERSION_MAJOR STREQUAL installed_major AND NOT PACKAGE_FIND_VERSION VERSION_GREATER "$version")
    set(PACKAGE_VERSION_COMPATIBLE TRUE)
    if(PACKAGE_FIND_VERSION STREQUAL "$version")
        set(PACKAGE_VERSION_EXACT TRUE)
    endif()
else()
    set(PACKAGE_VERSION_COMPATIBLE FALSE)
endif()
CMAKE
echo 'set(SFML_FOUND TRUE)' >"$work/sfml/SFMLConfig.cmake"

# With the search paths off, the tools are named rather than searched for.
cmake -S "$source_dir" -B "$work/build" -DQUORVEL_BUILD_TESTS=OFF -DSFML_DIR="$work/sfml" \
    -DCMAKE_MAKE_PROGRAM="$(command -v make)" -DCMAKE_C_COMPILER="$(command -v cc)" \
    -DCMAKE_CXX_COMPILER="$(command -v c++)" -DCMAKE_FIND_USE_CMAKE_SYSTEM_PATH=OFF -DCMAKE_FIND_USE_SYSTEM_ENVIRONMENT_PATH=OFF \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$work/log" 2>&1
status=$?
if [ "$status" -eq 0 ]; then
    echo "FAIL: SFML $version was accepted"
    exit 1
fi
if ! tr '\n' ' ' <"$work/log" | grep -q "SFML 2.5 or later up to 3.x.*$version"; then
    echo "FAIL: no message that names the accepted range and SFML $version"
    cat "$work/log"
    exit 1
fi
echo "PASS: SFML $version refused with a clear message"
