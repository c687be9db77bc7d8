# One interface target carries the language standard, the warnings and Qt's
# strictness flags; every target of the project links it.
add_library(sw_options INTERFACE)
target_compile_features(sw_options INTERFACE cxx_std_20)
set_target_properties(sw_options PROPERTIES INTERFACE_CXX_EXTENSIONS OFF)
target_compile_options(sw_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough
  $<$<BOOL:${SW_WERROR}>:-Werror>)
target_compile_definitions(sw_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_FOREACH
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_STRICT_ITERATORS
  QT_USE_QSTRINGBUILDER)

set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTOUIC OFF)
set(CMAKE_AUTORCC ON)

# SW_ODR_CHECK: link-time optimisation lets GCC compare every class, enum and
# inline function defined in more than one translation unit; two different
# definitions under one name (a one-definition-rule violation, which the
# compiler alone cannot see) then fail the build. The static libraries hold
# LTO objects, so they are archived with the compiler's own archiver.
if(SW_ODR_CHECK)
  target_compile_options(sw_options INTERFACE -flto=auto -Wodr -Werror=odr)
  target_link_options(sw_options INTERFACE -flto=auto -Wodr -Werror=odr)
  if(CMAKE_CXX_COMPILER_AR AND CMAKE_CXX_COMPILER_RANLIB)
    set(CMAKE_AR "${CMAKE_CXX_COMPILER_AR}")
    set(CMAKE_RANLIB "${CMAKE_CXX_COMPILER_RANLIB}")
  endif()
endif()
