# Instrumented builds, each in a build folder of its own (see scripts/).
#
# SW_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer on every
# target, the whole test suite included. Undefined behaviour stops the
# program (no recovery), so a finding fails its test instead of scrolling by.
#
# SW_FUZZ: the libFuzzer targets of fuzz/ (clang only). Every target of the
# project gets coverage instrumentation and both sanitizers; the fuzz targets
# link libFuzzer's main.

set(sw_sanitizers "address,undefined")

if(SW_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SW_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  target_compile_options(sw_options INTERFACE -fsanitize=fuzzer-no-link,${sw_sanitizers}
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(sw_options INTERFACE -fsanitize=fuzzer-no-link,${sw_sanitizers})
elseif(SW_SANITIZE)
  target_compile_options(sw_options INTERFACE -fsanitize=${sw_sanitizers}
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(sw_options INTERFACE -fsanitize=${sw_sanitizers})
endif()
