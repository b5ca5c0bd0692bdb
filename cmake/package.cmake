# The Debian package, built by CPack from the install rules (scripts/package).
include(GNUInstallDirs)

set(GLYPHWERK_MAINTAINER "The Glyphwerk team <team@glyphwerk.example.org>")

# The README's first paragraph is the package's description, wrapped to the
# width Debian's tools show.
file(READ "${PROJECT_SOURCE_DIR}/README.md" readme)
string(REGEX MATCH "\n\n([^\n]+(\n[^\n]+)*)" first_paragraph "${readme}")
string(REGEX REPLACE "[ \n]+" ";" words "${CMAKE_MATCH_1}")
set(description "")
set(line "")
foreach(word IN LISTS words)
  string(LENGTH "${line} ${word}" width)
  if(line AND width GREATER 79)
    string(APPEND description "${line}\n")
    set(line "${word}")
  elseif(line)
    string(APPEND line " ${word}")
  else()
    set(line "${word}")
  endif()
endforeach()
string(APPEND description "${line}")

# Debian wants a change log and a copyright file beside the documentation.
# The day of the build, so that configuring again on the same day changes nothing.
string(TIMESTAMP GLYPHWERK_PACKAGE_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file("${PROJECT_SOURCE_DIR}/packaging/linux/changelog.in" "${PROJECT_BINARY_DIR}/changelog" @ONLY)
add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/changelog.gz"
                   COMMAND gzip -9nkf "${PROJECT_BINARY_DIR}/changelog"
                   DEPENDS "${PROJECT_BINARY_DIR}/changelog"
                   VERBATIM)
add_custom_target(package_changelog ALL DEPENDS "${PROJECT_BINARY_DIR}/changelog.gz")
set(DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/glyphwerk")
install(FILES "${PROJECT_BINARY_DIR}/changelog.gz" "${PROJECT_SOURCE_DIR}/packaging/linux/copyright"
        DESTINATION "${DOC_DIR}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glyphwerk)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for BDF bitmap fonts")
set(CPACK_PACKAGE_DESCRIPTION "${description}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://glyphwerk.example.org/")
set(CPACK_PACKAGE_CONTACT "${GLYPHWERK_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
include(CPack)
