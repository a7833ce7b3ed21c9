# Installs the build into a fresh temporary prefix and checks that every
# file a Linux desktop looks for is in its place.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<empty folder to install into> -P check_tree.cmake
if(NOT BUILD_DIR OR NOT PREFIX)
  message(FATAL_ERROR "BUILD_DIR and PREFIX are needed")
endif()
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

include(GNUInstallDirs)
set(share "${PREFIX}/${CMAKE_INSTALL_DATADIR}")
set(expected
  "${PREFIX}/${CMAKE_INSTALL_BINDIR}/varkel"
  "${PREFIX}/${CMAKE_INSTALL_BINDIR}/varkel-cli"
  "${PREFIX}/${CMAKE_INSTALL_LIBDIR}/varkel/varkel"
  "${PREFIX}/${CMAKE_INSTALL_LIBDIR}/varkel/varkel-cli"
  "${share}/applications/varkel.desktop"
  "${share}/icons/hicolor/scalable/apps/varkel.svg"
  "${share}/mime/packages/varkel.xml"
  "${share}/metainfo/io.github.varkel.Varkel.metainfo.xml"
  "${PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/varkel.1"
  "${PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/varkel-cli.1"
  "${share}/bash-completion/completions/varkel-cli")
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected "${share}/icons/hicolor/${size}x${size}/apps/varkel.png")
endforeach()
set(missing "")
foreach(f IN LISTS expected)
  if(NOT EXISTS "${f}")
    list(APPEND missing "${f}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "missing from the installed tree:\n  ${missing}")
endif()

# Each picture is a PNG of its own size: the width and height in the header.
foreach(size 16 48 256)
  file(READ "${share}/icons/hicolor/${size}x${size}/apps/varkel.png" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 magic)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" want "${want}")
  string(LENGTH "${want}" len)
  while(len LESS 8)
    string(PREPEND want "0")
    math(EXPR len "${len} + 1")
  endwhile()
  if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT width STREQUAL "${want}" OR NOT height STREQUAL "${want}")
    message(FATAL_ERROR "${size}x${size} icon is not a ${size}-pixel PNG (${header})")
  endif()
endforeach()

# The desktop entry starts the installed program; the metainfo names the entry
# and the version; the manual pages carry the version instead of a placeholder.
file(READ "${share}/applications/varkel.desktop" desktop)
if(NOT desktop MATCHES "\nExec=varkel %F\n" OR NOT desktop MATCHES "\nMimeType=text/x-varkel-config;\n")
  message(FATAL_ERROR "unexpected desktop entry:\n${desktop}")
endif()
file(READ "${share}/metainfo/io.github.varkel.Varkel.metainfo.xml" metainfo)
file(READ "${PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/varkel.1" manual)
if(NOT metainfo MATCHES "<launchable type=\"desktop-id\">varkel.desktop</launchable>"
   OR metainfo MATCHES "@PROJECT_VERSION@" OR manual MATCHES "@PROJECT_VERSION@")
  message(FATAL_ERROR "metainfo or manual page not filled in")
endif()
file(READ "${share}/mime/packages/varkel.xml" mime)
if(NOT mime MATCHES "type=\"text/x-varkel-config\"" OR NOT mime MATCHES "pattern=\"\\*\\.cfg\"")
  message(FATAL_ERROR "unexpected MIME package:\n${mime}")
endif()

# The links in bin reach the programs, which answer.
execute_process(COMMAND "${PREFIX}/${CMAKE_INSTALL_BINDIR}/varkel-cli" --version
                RESULT_VARIABLE result OUTPUT_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "[0-9]+\\.[0-9]+\\.[0-9]+")
  message(FATAL_ERROR "installed varkel-cli does not run: ${result} ${version}")
endif()
message(STATUS "installed tree complete in ${PREFIX}")
