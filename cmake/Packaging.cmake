# Installation beyond the programs, and the Debian package (make package: cpack -G DEB).
# Everything Debian expects of a desktop program lives here: manual pages, the copyright
# file and changelog, AppStream metadata, computed dependencies. Included from the top-level
# CMakeLists.txt after the programs' targets exist.
include(GNUInstallDirs)

set(BRENVIK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(BRENVIK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/brenvik)

# Compressed copies as Debian wants them: gzip -9n, no name or time stamp inside, so the same
# input gives the same bytes.
function(brenvik_gzip input output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    COMMENT "Compressing ${output}" VERBATIM)
endfunction()

# Manual pages from the programs' own --help and --version, with a hand-written part on files
# and exit statuses. Made at build time, so they never fall behind the options.
find_program(HELP2MAN help2man)
set(BRENVIK_MANPAGES)
if(HELP2MAN)
  set(BRENVIK_MAN_TARGETS brenvik-cli)
  set(brenvik-cli_MANNAME "analyse NMEA 0183 and AIS log files from the command line")
  if(BRENVIK_BUILD_UI)
    list(APPEND BRENVIK_MAN_TARGETS brenvik)
    set(brenvik_MANNAME "desktop program to analyse NMEA 0183 and AIS log files")
  endif()
  foreach(prog IN LISTS BRENVIK_MAN_TARGETS)
    set(page ${CMAKE_BINARY_DIR}/man/${prog}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${HELP2MAN} --no-info --section=1 "--name=${${prog}_MANNAME}"
              --include=${BRENVIK_PACKAGING_DIR}/${prog}.h2m --output=${page} $<TARGET_FILE:${prog}>
      DEPENDS ${prog} ${BRENVIK_PACKAGING_DIR}/${prog}.h2m
      COMMENT "Writing the manual page ${prog}.1" VERBATIM)
    brenvik_gzip(${page} ${page}.gz)
    list(APPEND BRENVIK_MANPAGES ${page}.gz)
  endforeach()
  install(FILES ${BRENVIK_MANPAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh installs it)")
endif()

brenvik_gzip(${BRENVIK_PACKAGING_DIR}/changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_target(brenvik_docs ALL DEPENDS ${BRENVIK_MANPAGES} ${CMAKE_BINARY_DIR}/changelog.gz)

install(FILES ${BRENVIK_PACKAGING_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${BRENVIK_DOC_DIR})
if(BRENVIK_BUILD_UI)
  install(FILES ${CMAKE_SOURCE_DIR}/data/brenvik.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The package. Library dependencies come from the binaries (dpkg-shlibdeps, from dpkg-dev);
# the ones below are what the programs load or read at run time without linking: Qt's SVG
# plugins and the netCDF library for the map views, and the coastline data they draw.
set(CPACK_PACKAGE_NAME brenvik)
set(CPACK_PACKAGE_VENDOR "Brenvik developers")
set(CPACK_PACKAGE_CONTACT "Brenvik developers <brenvik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NMEA 0183 and AIS log analyser")
set(CPACK_PACKAGE_DESCRIPTION
  "Brenvik reads NMEA 0183 log files from navigation systems, voyage data
recorders and AIS receivers. It condenses them into events cut by time,
distance or alarm stage, decodes AIS reports and vessels, and exports the
results as CSV, KML and GPS text files.

The package holds the desktop program (brenvik) and the command-line
program (brenvik-cli).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brenvik developers <brenvik@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libnetcdf19")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gmt-gshhg-low, gmt-gshhg-high")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gmt-gshhg-full")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)

add_subdirectory(tests/packaging)
