# SFML 2.5 or later up to 3.x. The two majors name their components and targets differently (graphics and
# sfml-graphics against Graphics and SFML::Graphics); QUORVEL_SFML_LIBRARIES holds whichever applies.
#
# A failed search forgets SFML_DIR, so a folder given with -DSFML_DIR is handed to the second search again,
# and what both searches turned down is kept for the message.
set(requested_dir "${SFML_DIR}")
find_package(SFML 3 QUIET COMPONENTS Graphics Window System)
set(considered_versions ${SFML_CONSIDERED_VERSIONS})
set(considered_configs ${SFML_CONSIDERED_CONFIGS})
if(SFML_FOUND)
    set(QUORVEL_SFML_LIBRARIES SFML::Graphics SFML::Window SFML::System)
else()
    if(requested_dir)
        set(SFML_DIR "${requested_dir}" CACHE PATH "The folder of SFMLConfig.cmake" FORCE)
    endif()
    find_package(SFML 2.5 QUIET COMPONENTS graphics window system)
    if(SFML_FOUND)
        set(QUORVEL_SFML_LIBRARIES sfml-graphics sfml-window sfml-system)
    endif()
    list(APPEND considered_versions ${SFML_CONSIDERED_VERSIONS})
    list(APPEND considered_configs ${SFML_CONSIDERED_CONFIGS})
endif()

if(NOT SFML_FOUND)
    if(considered_versions)
        list(REMOVE_DUPLICATES considered_versions)
        list(REMOVE_DUPLICATES considered_configs)
        list(JOIN considered_versions ", " versions)
        list(JOIN considered_configs ", " configs)
        message(FATAL_ERROR "QUORVEL builds against SFML 2.5 or later up to 3.x, but the only SFML found is "
            "version ${versions} (${configs}). Install a version in that range, or point CMake at one with "
            "-DSFML_DIR=PREFIX/lib/cmake/SFML.")
    endif()
    message(FATAL_ERROR "QUORVEL needs SFML 2.5 or later up to 3.x (its graphics, window and system modules, "
        "with headers), and CMake found none. On Debian: apt-get install libsfml-dev. Elsewhere, point CMake "
        "at an installation with -DSFML_DIR=PREFIX/lib/cmake/SFML.")
endif()
message(STATUS "Building against SFML ${SFML_VERSION}")
