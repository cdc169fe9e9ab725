# Shared settings for every Magna target: warnings, sanitizers, include root.

add_library(magna_options INTERFACE)
target_include_directories(magna_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(magna_options INTERFACE -Wall -Wextra -Wshadow)
# Bytes and text only meet through the named conversions.
target_compile_definitions(magna_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS)
if(MAGNA_SANITIZE)
  target_compile_options(magna_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(magna_options INTERFACE -fsanitize=address,undefined)
endif()
if(MAGNA_HARDENING)
  # As dpkg-buildflags gives them for a Debian package (with bindnow).
  target_compile_options(magna_options INTERFACE
    -fstack-protector-strong -fstack-clash-protection -fcf-protection -Wformat
    -Werror=format-security)
  target_compile_definitions(magna_options INTERFACE _FORTIFY_SOURCE=2)
  target_link_options(magna_options INTERFACE -Wl,-z,relro -Wl,-z,now)
endif()
if(MAGNA_SCALAR)
  target_compile_definitions(magna_options INTERFACE MAGNA_SCALAR_ONLY)
endif()
if(MAGNA_BUILD_FUZZ)
  # Coverage feedback from the libraries too, not only from the fuzz entry points.
  target_compile_options(magna_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# magna_layer_library(<target> [QT] SOURCES <files...> LINKS <libs...>)
# One static library, its files listed relative to the calling CMakeLists.txt: a file
# joins the build because it is named here, never because it lies in the folder.
# QT: the library has classes with Q_OBJECT or Qt resources (moc and rcc run on it).
function(magna_layer_library target)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LINKS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_link_libraries(${target} PUBLIC magna_options ${ARG_LINKS})
  if(ARG_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
endfunction()

# magna_test_folder(<folder> [QT] LINKS <libs...>)
# One test executable per *_test.cpp file in tests/<folder>, one ctest entry each.
function(magna_test_folder folder)
  cmake_parse_arguments(ARG "QT" "" "LINKS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_test.cpp)
  foreach(src IN LISTS tests)
    get_filename_component(stem ${src} NAME_WE)
    string(REPLACE "/" "_" prefix ${folder})
    set(exe test_${prefix}_${stem})
    add_executable(${exe} ${src})
    target_link_libraries(${exe} PRIVATE magna_test_support ${ARG_LINKS} GTest::gmock)
    if(ARG_QT)
      target_link_libraries(${exe} PRIVATE magna_qt_test_main)
    else()
      target_link_libraries(${exe} PRIVATE GTest::gtest_main)
    endif()
    add_test(NAME ${prefix}/${stem} COMMAND ${exe})
    set_tests_properties(${prefix}/${stem} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;MAGNA_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1"
      TIMEOUT 300)
  endforeach()
endfunction()
