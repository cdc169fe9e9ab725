# magna_embed_version_record(<target> <file>)
# Places the version record described by <file> in the ELF section ".magna_version"
# of <target>, where ReadVersionInfo finds it again (layout: platform/versionRecord.h).
# <file> is UTF-8 text, one key=value per line; blank lines and lines starting
# with "#" are skipped:
#   Translation=0411 03A4       language and code page of the one string block
#   FixedFileVersion=0.0.4.6    the fixed part's file version (FixedProductVersion alike)
#   ProductName=Magna           any other key: a text of the string block
# Editing <file> re-runs the configuration, so the record always follows it.

set(_magna_version_template [=[
// Generated from @file@ by magna_embed_version_record; edit that file instead.
#include "platform/versionRecord.h"

namespace {

constexpr char16_t kFixedPart[] = {@fixed@};
constexpr char16_t kTranslation[] = {@translation@};
constexpr magna::platform::VersionRecordEntry kEntries[] = {
    {u"\\", {kFixedPart, 8}},
    {u"\\VarFileInfo\\Translation", {kTranslation, 2}},
@entries@};
constexpr size_t kRecordLength = magna::platform::VersionRecordLength(kEntries);

[[gnu::used, gnu::retain, gnu::section(".magna_version")]]
constexpr std::array<char16_t, kRecordLength> kVersionRecord =
    magna::platform::BuildVersionRecord<kRecordLength>(kEntries);

}  // namespace
]=])

# "1.2.3.4" as four 16-bit units of C++ source.
function(_magna_version_units out key version file)
  if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "${file}: ${key} must be four numbers joined by full stops")
  endif()
  set(units "")
  foreach(i RANGE 1 4)
    if(CMAKE_MATCH_${i} GREATER 65535)
      message(FATAL_ERROR "${file}: ${key} parts must not exceed 65535")
    endif()
    string(APPEND units "${CMAKE_MATCH_${i}}, ")
  endforeach()
  set(${out} "${units}" PARENT_SCOPE)
endfunction()

function(magna_embed_version_record target file)
  get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  file(READ "${file}" text)
  string(REPLACE "\r" "" text "${text}")
  set(hex4 "[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]")
  set(delimiter ")magnaver\"")
  # The string block's name comes first, wherever its line stands.
  if(NOT "\n${text}\n" MATCHES "\n *Translation *= *(${hex4})[ ,]+(${hex4}) *\n")
    message(FATAL_ERROR "${file}: needs a line Translation=<language> <code page>, in hex")
  endif()
  string(TOUPPER "${CMAKE_MATCH_1}${CMAKE_MATCH_2}" pair)
  set(block "\\StringFileInfo\\${pair}\\")
  set(translation "0x${CMAKE_MATCH_1}, 0x${CMAKE_MATCH_2}")
  set(fileUnits "0, 0, 0, 0, ")
  set(productUnits "0, 0, 0, 0, ")
  set(entries "")
  # Lines are cut by hand: list operations would split at ";" and stumble on "[".
  while(NOT "${text}" STREQUAL "")
    string(FIND "${text}" "\n" eol)
    if(eol EQUAL -1)
      set(line "${text}")
      set(text "")
    else()
      string(SUBSTRING "${text}" 0 ${eol} line)
      math(EXPR next "${eol} + 1")
      string(SUBSTRING "${text}" ${next} -1 text)
    endif()
    string(STRIP "${line}" stripped)
    if("${stripped}" STREQUAL "" OR "${stripped}" MATCHES "^#")
      continue()
    endif()
    string(FIND "${line}" "=" eq)
    if(eq LESS 1)
      message(FATAL_ERROR "${file}: not a key=value line: ${line}")
    endif()
    string(SUBSTRING "${line}" 0 ${eq} key)
    string(STRIP "${key}" key)
    math(EXPR next "${eq} + 1")
    string(SUBSTRING "${line}" ${next} -1 value)
    if(key STREQUAL "Translation")
      continue()
    elseif(key STREQUAL "FixedFileVersion")
      _magna_version_units(fileUnits "${key}" "${value}" "${file}")
    elseif(key STREQUAL "FixedProductVersion")
      _magna_version_units(productUnits "${key}" "${value}" "${file}")
    elseif(key MATCHES "^[A-Za-z][A-Za-z0-9]*$")
      string(FIND "${value}" "${delimiter}" clash)
      if(NOT clash EQUAL -1)
        message(FATAL_ERROR "${file}: the value of ${key} holds ${delimiter}")
      endif()
      string(APPEND entries
        "    {uR\"magnaver(${block}${key})magnaver\", uR\"magnaver(${value})magnaver\"},\n")
    else()
      message(FATAL_ERROR "${file}: not a version key: ${key}")
    endif()
  endwhile()
  set(fixed "${fileUnits}${productUnits}")
  string(REGEX REPLACE ", $" "" fixed "${fixed}")
  string(REPLACE "@fixed@" "${fixed}" content "${_magna_version_template}")
  string(REPLACE "@translation@" "${translation}" content "${content}")
  string(REPLACE "@file@" "${file}" content "${content}")
  string(REPLACE "@entries@" "${entries}" content "${content}")

  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_versionRecord.cpp")
  set(old "")
  if(EXISTS "${out}")
    file(READ "${out}" old)
  endif()
  if(NOT "${old}" STREQUAL "${content}")
    file(WRITE "${out}" "${content}")
  endif()
  target_sources(${target} PRIVATE "${out}")
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
endfunction()
