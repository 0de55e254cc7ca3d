# quorvel.exe's icon and version information, and the zip for Windows (cpack -G ZIP): one folder holding
# quorvel.exe, its assets, a short README.txt and the licence texts. Explorer starts a program in its own
# folder, so a double-click on quorvel.exe finds ./assets.
#
# The icon file is drawn by the sprite generator built for the machine that builds (QUORVEL_HOST_SPRITES).
set(QUORVEL_HOST_SPRITES "" CACHE FILEPATH "quorvel-sprites built for this machine, which draws quorvel.ico")
if(NOT QUORVEL_HOST_SPRITES)
    message(FATAL_ERROR "a Windows build needs -DQUORVEL_HOST_SPRITES=<quorvel-sprites built for this machine>")
endif()
set(QUORVEL_ICO ${PROJECT_BINARY_DIR}/quorvel.ico)
add_custom_command(OUTPUT ${QUORVEL_ICO}
    COMMAND ${QUORVEL_HOST_SPRITES} --ico ${QUORVEL_ICO}
    DEPENDS ${QUORVEL_HOST_SPRITES}
    COMMENT "Drawing quorvel.ico")
configure_file(${PROJECT_SOURCE_DIR}/packaging/quorvel.rc.in ${PROJECT_BINARY_DIR}/quorvel.rc @ONLY)
target_sources(quorvel PRIVATE ${PROJECT_BINARY_DIR}/quorvel.rc)
set_source_files_properties(${PROJECT_BINARY_DIR}/quorvel.rc PROPERTIES OBJECT_DEPENDS ${QUORVEL_ICO})

install(TARGETS quorvel RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/ DESTINATION assets)
install(FILES ${PROJECT_SOURCE_DIR}/docs/README-windows.txt DESTINATION . RENAME README.txt)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION . RENAME COPYRIGHT.txt)
install(FILES ${PROJECT_SOURCE_DIR}/assets/fonts/OFL.txt DESTINATION . RENAME LICENSE-font.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The QUORVEL developers")
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
