# The hardening Debian builds its packages with (dpkg-buildflags, hardening=+all), as the
# default for every optimised Linux build. The sanitizer and fuzzer builds keep their own
# instrumentation instead: ASan and the stack protector only get in each other's way.
if(ZDZ_SANITIZE OR ZDZ_SANITIZE_THREAD OR ZDZ_FUZZ OR WIN32)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection
                    -Wformat -Werror=format-security)
# _FORTIFY_SOURCE only checks anything where the optimiser runs, and warns without it.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(LINKER:-z,relro LINKER:-z,now)
