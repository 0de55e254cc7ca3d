# The install tree and the Debian package (cpack -G DEB).
#
# Installed, the program lives in a private folder and is started by a launcher that enters its data
# folder, since it reads its assets relative to the working directory. The launcher goes where Debian puts
# games; the tournament tool (tools/tournament) goes into bin.
install(TARGETS quorvel RUNTIME DESTINATION lib/quorvel)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/ DESTINATION share/quorvel/assets)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/quorvel DESTINATION games)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quorvel.desktop DESTINATION share/applications)
# The overlay's font is part of the game's assets, cut down to the characters it shows, not a font for the system.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME quorvel)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/assets/fonts/OFL.txt ${PROJECT_SOURCE_DIR}/packaging/copyright
    DESTINATION share/doc/quorvel)
foreach(size IN ITEMS 16 24 32 48 128 256)
    set(icon ${PROJECT_BINARY_DIR}/icons/${size}x${size}/quorvel.png)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
        COMMAND quorvel-sprites --icon ${size} ${icon}
        DEPENDS quorvel-sprites
        COMMENT "Drawing the ${size} x ${size} icon")
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(quorvel-icons ALL DEPENDS ${icons})

quorvel_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/changelog.gz)
quorvel_gzip(${PROJECT_SOURCE_DIR}/docs/quorvel.6 ${PROJECT_BINARY_DIR}/quorvel.6.gz)
add_custom_target(quorvel-docs ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_BINARY_DIR}/quorvel.6.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION share/doc/quorvel)
install(FILES ${PROJECT_BINARY_DIR}/quorvel.6.gz DESTINATION share/man/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The QUORVEL developers")
set(CPACK_PACKAGE_CONTACT "The QUORVEL developers <quorvel@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rock, paper and scissors pieces that chase and convert each other")
# The synopsis is the summary above; these lines follow it, each within Debian's 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
A 1200 x 800 window fills with rock, paper and scissors pieces. Every piece
heads for the nearest piece of the kind it beats, steps away from its own kind,
and turns the prey it touches into its own kind, until a single kind is left.
R starts again with 100 pieces of each kind; E quits. quorvel-tournament plays
the same rules in bulk, on every core or on many machines, reports which kind
wins how often, and shows the game behind any result in a window.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": the package also puts quorvel-tournament in /usr/bin, which Debian's games section does not
# allow; the game itself is in /usr/games all the same.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# quorvel-tournament starts itself in a virtual X server where there is no display.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xvfb)
set(CPACK_STRIP_FILES ON)
include(CPack)
