# Installation and the Debian package.
#
#   cmake --install build [--prefix DIR] [--strip]     (DESTDIR honoured)
#   cd build && cpack -G DEB                           -> teramon2_<version>_<arch>.deb
#
# The game finds its pictures, sounds and voices beside its binary (through
# /proc/self/exe, which resolves symlinks), so the whole program folder goes to
# <prefix>/lib/teramon2/ and <prefix>/bin/teramon2 is a relative symlink to it.
# Desktop entry, icons and metainfo come from packaging/.

# Version and release date come from the top entry of packaging/changelog.
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/packaging/changelog)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog tm_changelog_head ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog tm_changelog_sign ENCODING UTF-8 REGEX "^ -- " LIMIT_COUNT 1)
if(NOT tm_changelog_head MATCHES "^teramon2 \\(([0-9][^)]*)\\) ")
  message(FATAL_ERROR "packaging/changelog: no version in the top entry")
endif()
set(TERAMON_VERSION ${CMAKE_MATCH_1})
if(NOT tm_changelog_sign MATCHES ">  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in the top entry's sign-off line")
endif()
set(tm_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND tm_months ${CMAKE_MATCH_2} tm_month)
math(EXPR tm_month "${tm_month} + 1")
math(EXPR tm_day "${CMAKE_MATCH_1}")
set(tm_year ${CMAKE_MATCH_3})
if(tm_month LESS 10)
  string(PREPEND tm_month 0)
endif()
if(tm_day LESS 10)
  string(PREPEND tm_day 0)
endif()
set(TERAMON_RELEASE_DATE ${tm_year}-${tm_month}-${tm_day})

set(TERAMON_APP_ID jp.mizuumisha.teramon2)
# Where the game is published; the metainfo's screenshot is
# <homepage>screenshots/title.png (packaging/screenshots/title.png).
set(TERAMON_HOMEPAGE https://teramon2.example/ CACHE STRING "The game's home page, with a trailing /")
set(TERAMON_PROGRAM_DIR lib/teramon2)

# Installing (and cpack) needs only what is installed, not the tests and
# benchmarks: build the game first (scripts/build.sh, or --target teramon2).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(TERAMON_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TERAMON_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# The program folder: binary, Data/ (real copies: build/Data is only a symlink
# to the source tree) and the voices with their licence files, one folder a
# voice as the rows of voice/voices.h name them.
install(TARGETS teramon2 RUNTIME DESTINATION ${TERAMON_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Data DESTINATION ${TERAMON_PROGRAM_DIR})

# The voices are fetched into the build folder by scripts/fetch_voices.sh, not
# built: refuse to install a game that would stay silent without saying why.
file(STRINGS ${CMAKE_SOURCE_DIR}/voice/voices.h voice_rows REGEX "^    {\"[^\"]+\", ")
set(TERAMON_VOICE_FOLDERS)
foreach(row IN LISTS voice_rows)
  string(REGEX REPLACE "^    {\"([^\"]+)\".*" "\\1" folder "${row}")
  list(APPEND TERAMON_VOICE_FOLDERS ${folder})
endforeach()
foreach(folder IN LISTS TERAMON_VOICE_FOLDERS)
  install(CODE "
    file(GLOB licence \"${CMAKE_BINARY_DIR}/${folder}/README*\")
    if(NOT EXISTS \"${CMAKE_BINARY_DIR}/${folder}/voice.htsvoice\" OR NOT licence)
      message(FATAL_ERROR \"the voice in ${CMAKE_BINARY_DIR}/${folder} is missing: run scripts/fetch_voices.sh ${CMAKE_BINARY_DIR} first\")
    endif()")
  install(DIRECTORY ${CMAKE_BINARY_DIR}/${folder} DESTINATION ${TERAMON_PROGRAM_DIR})
endforeach()

# The speech helper, where the build has one. Checked once the whole source
# tree has been read, so it does not matter where its target is defined.
function(tm_install_speech_helper)
  if(TARGET teramon2-say)
    install(TARGETS teramon2-say RUNTIME DESTINATION ${TERAMON_PROGRAM_DIR})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tm_install_speech_helper)

# bin/teramon2: a relative symlink, so any prefix and DESTDIR work. file(INSTALL)
# copies a symlink as a symlink.
file(MAKE_DIRECTORY ${TERAMON_PACKAGING_OUT}/bin)
file(CREATE_LINK ../${TERAMON_PROGRAM_DIR}/teramon2 ${TERAMON_PACKAGING_OUT}/bin/teramon2 SYMBOLIC)
install(FILES ${TERAMON_PACKAGING_OUT}/bin/teramon2 DESTINATION bin)

# Menu entry, icons, metainfo, and the licences of what the package carries.
configure_file(${TERAMON_PACKAGING_DIR}/${TERAMON_APP_ID}.metainfo.xml.in
               ${TERAMON_PACKAGING_OUT}/${TERAMON_APP_ID}.metainfo.xml @ONLY)
install(FILES ${TERAMON_PACKAGING_DIR}/${TERAMON_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${TERAMON_PACKAGING_OUT}/${TERAMON_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(px 48 128 256)
  install(FILES ${TERAMON_PACKAGING_DIR}/icons/${px}x${px}/teramon2.png
          DESTINATION share/icons/hicolor/${px}x${px}/apps)
endforeach()
install(FILES ${TERAMON_PACKAGING_DIR}/copyright DESTINATION share/doc/teramon2)

# The manual page and the changelog, compressed as Debian keeps them (gzip -n:
# no name or time stamp, so the package is the same from one build to the next).
configure_file(${TERAMON_PACKAGING_DIR}/teramon2.6.in ${TERAMON_PACKAGING_OUT}/teramon2.6 @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(tm_doc ${TERAMON_PACKAGING_OUT}/teramon2.6 ${TERAMON_PACKAGING_DIR}/changelog)
  get_filename_component(tm_name ${tm_doc} NAME)
  execute_process(COMMAND ${GZIP_PROGRAM} -9 -n -c ${tm_doc}
                  OUTPUT_FILE ${TERAMON_PACKAGING_OUT}/${tm_name}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${TERAMON_PACKAGING_OUT}/teramon2.6.gz DESTINATION share/man/man6)
install(FILES ${TERAMON_PACKAGING_OUT}/changelog.gz DESTINATION share/doc/teramon2)

# ---------------------------------------------------------------- Debian package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME teramon2)
set(CPACK_PACKAGE_VERSION ${TERAMON_VERSION})
set(CPACK_PACKAGE_CONTACT "てらもん2 maintainers <maintainers@users.noreply.c-seed-21fbf34e.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "educational action game about Japanese four-character idioms")
set(CPACK_PACKAGE_DESCRIPTION
"てらもん2 is a full-screen action game for learning Japanese four-character
idioms (yojijukugo). Keep the ball in the air with the mouse-driven paddle and
strike the gap in the top row where the ball's character belongs. After each
correct answer the idiom is shown and spoken with its reading and meaning.
Everything the player reads or hears is Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# "education", not "games": Debian keeps games' programs in /usr/games, and this
# one is started as bin/teramon2 whichever way it is installed.
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TERAMON_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
# Shared libraries from dpkg-shlibdeps on the installed binaries; besides them
# the game reads the IPA fonts through fontconfig, opens the MeCab dictionary by
# its path, and runs open_jtalk with its dictionary for speech.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, mecab-ipadic-utf8, open-jtalk, open-jtalk-mecab-naist-jdic")
include(CPack)
