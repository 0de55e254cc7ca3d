# SFML 2.5 or later up to 3.x. The two majors name their components and targets differently (graphics and
# sfml-graphics against Graphics and SFML::Graphics); QUORVEL_SFML_LIBRARIES holds whichever applies.
find_package(SFML 3 QUIET COMPONENTS Graphics Window System)
if(SFML_FOUND)
    set(QUORVEL_SFML_LIBRARIES SFML::Graphics SFML::Window SFML::System)
else()
    find_package(SFML 2.5 QUIET COMPONENTS graphics window system)
    if(SFML_FOUND)
        set(QUORVEL_SFML_LIBRARIES sfml-graphics sfml-window sfml-system)
    endif()
endif()

if(NOT SFML_FOUND)
    if(SFML_CONSIDERED_VERSIONS)
        list(JOIN SFML_CONSIDERED_VERSIONS ", " versions)
        list(JOIN SFML_CONSIDERED_CONFIGS ", " configs)
        message(FATAL_ERROR "QUORVEL builds against SFML 2.5 or later up to 3.x, but the only SFML found is "
            "version ${versions} (${configs}). Install a version in that range, or point CMake at one with "
            "-DSFML_DIR=PREFIX/lib/cmake/SFML.")
    endif()
    message(FATAL_ERROR "QUORVEL needs SFML 2.5 or later up to 3.x (its graphics, window and system modules, "
        "with headers), and CMake found none. On Debian: apt-get install libsfml-dev. Elsewhere, point CMake "
        "at an installation with -DSFML_DIR=PREFIX/lib/cmake/SFML.")
endif()
message(STATUS "Building against SFML ${SFML_VERSION}")
