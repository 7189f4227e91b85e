# Install rules and the Debian package.
#
# The program folder is laid out as a school's PCs expect it: a folder named after the
# drill ("ミルネア") that holds the program and its run-time files, whose parent holds the
# path file "パスデータ.txt" beside the program folders of the other drills. On Linux the
# parent is <prefix>/lib/mirunea; the path file there is a link into the system's
# configuration folder (/etc/mirunea for the prefix /usr), so that nothing under the
# prefix is written at run time. On Windows the parent is the prefix itself.

set(MIRUNEA_DRILL_FOLDER "ミルネア")
if(WIN32)
  set(MIRUNEA_PARENT_FOLDER ".")
else()
  set(MIRUNEA_PARENT_FOLDER "lib/mirunea")
endif()
set(MIRUNEA_PROGRAM_FOLDER "${MIRUNEA_PARENT_FOLDER}/${MIRUNEA_DRILL_FOLDER}")

# What the program folder holds, in one place: the program, the explanation viewers'
# module it loads on first use, and the animation player's folder (the same files as
# MIRUNEA_PROGRAM_FOLDER_FILES names in the build folder).
set(MIRUNEA_PROGRAM_FOLDER_TARGETS mirunea mirunea_viewers)
set(MIRUNEA_PROGRAM_FOLDER_FOLDERS ${MIRUNEA_ANIMATION_PLAYER_DIR})

install(TARGETS ${MIRUNEA_PROGRAM_FOLDER_TARGETS}
        RUNTIME DESTINATION ${MIRUNEA_PROGRAM_FOLDER}
        LIBRARY DESTINATION ${MIRUNEA_PROGRAM_FOLDER})
install(DIRECTORY ${MIRUNEA_PROGRAM_FOLDER_FOLDERS} DESTINATION ${MIRUNEA_PROGRAM_FOLDER})

if(WIN32 OR APPLE)
  return()
endif()

# The links are made at install time, when the prefix is known (CPack installs under
# /usr whatever the build folder was configured with). The path file's link leaves /usr
# for /etc, so it is absolute, as Debian wants links between top-level folders.
install(CODE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(config "/etc/mirunea")
  else()
    set(config "${CMAKE_INSTALL_PREFIX}/etc/mirunea")
  endif()
  set(path_link "${config}/パスデータ.txt")
  file(MAKE_DIRECTORY "${root}/bin")
  file(CREATE_LINK "${path_link}" "${root}/lib/mirunea/パスデータ.txt" SYMBOLIC)
  file(CREATE_LINK "../lib/mirunea/ミルネア/mirunea" "${root}/bin/mirunea" SYMBOLIC)
  message(STATUS "Linked: ${root}/bin/mirunea and ${root}/lib/mirunea/パスデータ.txt -> ${path_link}")
]])

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
# The maintainer's address goes into the package and its change log; set it when building
# a package for the schools.
set(MIRUNEA_PACKAGE_CONTACT "The mirunea developers <mirunea@example.com>"
    CACHE STRING "the package's maintainer, name and address")
configure_file(${packaging}/mirunea.metainfo.xml ${PROJECT_BINARY_DIR}/packaging/mirunea.metainfo.xml
               @ONLY)
install(FILES ${packaging}/mirunea.desktop DESTINATION share/applications)
install(FILES ${PROJECT_BINARY_DIR}/packaging/mirunea.metainfo.xml DESTINATION share/metainfo)
install(FILES ${packaging}/mirunea.svg DESTINATION share/icons/hicolor/scalable/apps)

# Debian wants the change log and the manual page compressed the reproducible way.
find_program(MIRUNEA_GZIP gzip REQUIRED)
foreach(doc changelog mirunea.1)
  configure_file(${packaging}/${doc} ${PROJECT_BINARY_DIR}/packaging/${doc} @ONLY)
endforeach()
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${PROJECT_BINARY_DIR}/packaging/mirunea.1.gz
  COMMAND ${MIRUNEA_GZIP} -9nkf changelog mirunea.1
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/mirunea.1
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging
  VERBATIM)
add_custom_target(packaging_docs ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz
                                             ${PROJECT_BINARY_DIR}/packaging/mirunea.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${packaging}/copyright
        DESTINATION share/doc/mirunea)
install(FILES ${PROJECT_BINARY_DIR}/packaging/mirunea.1.gz DESTINATION share/man/man1)

# The Debian package. Its dependencies are what the program links (found by
# dpkg-shlibdeps) and what it loads at run time: the GStreamer plug-ins that play the
# sounds and the explanation video, a Japanese font, and ffmpeg, with which
# "mirunea --new-school" encodes the new school's explanation video.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirunea)
set(CPACK_PACKAGE_VENDOR "The mirunea developers")
set(CPACK_PACKAGE_CONTACT "${MIRUNEA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timed drill in equal ratios for classroom PCs")
set(CPACK_PACKAGE_DESCRIPTION
    "Every problem shows two equal ratios such as 3 : 7 = 12 : 28 with one term\n\
left blank; the pupil types the missing number. A run is ten net correct\n\
answers against the clock, judged against the teacher's criteria for each\n\
level and added to the school's shared results file. The command\n\
mirunea --new-school lays out a new school.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, gstreamer1.0-pulseaudio | gstreamer1.0-alsa, fonts-ipafont-gothic | fonts-noto-cjk, ffmpeg")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
# Files land owned by root whatever user builds the package.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PROJECT_CONFIG_FILE ${packaging}/CPackProject.cmake)
include(CPack)
