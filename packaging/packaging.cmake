# CPack: `cpack -G DEB` in the build folder makes ostrel_<version>_<arch>.deb
# from the default component only.

# The package's version is the project's with the Debian revision of the
# newest changelog entry; a release bumped in one place only stops here.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^ostrel \\(([^-]+)-([0-9]+)\\)")
  message(FATAL_ERROR "packaging/changelog: the first line names no ostrel version: ${newest}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog is for ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

set(CPACK_PACKAGE_NAME ostrel)
set(CPACK_PACKAGE_VENDOR "The Ostrel developers")
set(CPACK_PACKAGE_CONTACT "The Ostrel developers <dev@ostrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and configure IP cameras on the local network")
set(CPACK_PACKAGE_DESCRIPTION
  "Ostrel is a utility for people who install IP cameras. It finds the cameras
on the local network segment with a UDP broadcast probe, without knowing their
addresses, and lists each with its name, address, MAC address, model and
firmware. After a check of the camera's own password it changes a camera's
name and address (static or DHCP), hands consecutive free addresses to several
cameras at once, or resets a camera to its factory settings.

The package holds the window program ostrel and the command-line tool
ostrel-cli.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://ostrel.org/")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# One package: the ostrel-lab rules are EXCLUDE_FROM_ALL, so the monolithic
# install that CPack runs leaves them out (CPACK_DEB_COMPONENT_INSTALL stays off).
include(CPack)
cpack_add_component(ostrel-lab
  DISPLAY_NAME "Virtual LAN"
  DESCRIPTION "The camera simulator ostrel-camsim, the virtual LAN script ostrel-lab and its camera profiles"
  DISABLED)
