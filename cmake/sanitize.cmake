# padwire_sanitize: the instrumentation of a sanitizer or fuzzing build, as usage requirements.
#
#   PADWIRE_SANITIZE  AddressSanitizer and UndefinedBehaviorSanitizer; the first finding ends the
#                     program with an error (no recovery), so a test that trips one fails.
#   PADWIRE_FUZZ      the same, plus libFuzzer's coverage instrumentation (clang only); the fuzz
#                     targets in fuzz/ link libFuzzer's own main.
add_library(padwire_sanitize INTERFACE)

if(PADWIRE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PADWIRE_FUZZ needs clang (libFuzzer); use the sanitize preset")
  endif()
  set(PADWIRE_SANITIZE ON)
endif()

if(PADWIRE_SANITIZE)
  if(WIN32)
    message(FATAL_ERROR "PADWIRE_SANITIZE is for native builds; mingw-w64 has no sanitizers")
  endif()
  set(sanitizers -fsanitize=address,undefined)
  if(PADWIRE_FUZZ)
    list(APPEND sanitizers -fsanitize=fuzzer-no-link)
  endif()
  target_compile_options(padwire_sanitize INTERFACE ${sanitizers} -fno-sanitize-recover=all
                                                    -fno-omit-frame-pointer)
  target_link_options(padwire_sanitize INTERFACE ${sanitizers})
endif()
