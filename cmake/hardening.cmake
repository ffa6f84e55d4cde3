# Debian's full hardening (DEB_BUILD_MAINT_OPTIONS=hardening=+all) for every
# build that goes to players: ./play.sh, ./test.sh, cmake --install and the .deb
# all configure through here. hardening-check build/teramon2 finds each of them.
#
# The sanitizer and fuzz builds leave it out: AddressSanitizer replaces the
# checked string functions _FORTIFY_SOURCE would call, and those builds never
# reach a player.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

if(TERAMON_SANITIZE OR TERAMON_FUZZ)
  set(tm_harden_default OFF)
else()
  set(tm_harden_default ON)
endif()
option(TERAMON_HARDEN "Build with Debian's hardening flags (PIE, stack protector, fortify, relro, now)"
       ${tm_harden_default})

if(TERAMON_HARDEN)
  check_pie_supported(LANGUAGES C CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  # Each entry is tried as a whole: -Werror=format-security means nothing without -Wformat.
  foreach(flags "-fstack-protector-strong" "-fstack-clash-protection" "-fcf-protection"
                "-Wformat -Werror=format-security")
    string(MAKE_C_IDENTIFIER "TM_CXX_HAS ${flags}" var)
    check_cxx_compiler_flag("${flags}" ${var})
    separate_arguments(flag_list UNIX_COMMAND "${flags}")
    if(${var})
      add_compile_options(${flag_list})
    else()
      message(STATUS "Hardening: ${CMAKE_CXX_COMPILER_ID} does not take ${flags}")
    endif()
  endforeach()
  # Fortify needs the optimiser; a Debug build would only warn about it.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
