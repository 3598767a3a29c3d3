cmake_minimum_required(VERSION 3.25)
# Refuses an #include that runs upward through the layers (docs/ARCHITECTURE.md):
#   cmake -DROOT=<source folder> [-DSTAMP=<file to touch when clean>] -P CheckLayers.cmake
# Each folder may include its own headers and those of the layers it is allowed to use;
# tests, benchmarks and the resource tool may include anything.

# The layer a project file belongs to, from its path below ROOT.
function(layer_of path out)
    if(path MATCHES "^platform/(desk|office|posix|qt|win32)/")
        set(${out} "platform/${CMAKE_MATCH_1}" PARENT_SCOPE)
    elseif(path MATCHES "^platform/")
        set(${out} "interfaces" PARENT_SCOPE)
    elseif(path MATCHES "^(common|queue|convert|batch|app|programs|tests|bench|resources)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

set(uses_interfaces interfaces)
set(uses_common interfaces common)
set(uses_queue interfaces common queue)
set(uses_convert interfaces common queue convert)
set(uses_batch interfaces common queue convert batch)
set(uses_app interfaces common queue convert app)
set(uses_platform/desk interfaces platform/desk)
set(uses_platform/posix interfaces platform/posix)
set(uses_platform/office interfaces platform/desk platform/office)
set(uses_platform/qt interfaces platform/qt)
set(uses_platform/win32 interfaces platform/win32)
set(uses_programs interfaces common queue convert batch app platform/desk platform/posix
    platform/office platform/qt platform/win32 programs)

file(GLOB_RECURSE sources RELATIVE ${ROOT}
    ${ROOT}/platform/*.h ${ROOT}/platform/*.cpp ${ROOT}/common/*.h ${ROOT}/common/*.cpp
    ${ROOT}/queue/*.h ${ROOT}/queue/*.cpp ${ROOT}/convert/*.h ${ROOT}/convert/*.cpp
    ${ROOT}/batch/*.h ${ROOT}/batch/*.cpp
    ${ROOT}/app/*.h ${ROOT}/app/*.cpp ${ROOT}/programs/*.h ${ROOT}/programs/*.cpp)

set(refused "")
foreach(source IN LISTS sources)
    layer_of("${source}" from)
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
        layer_of("${header}" to)
        if(to STREQUAL "")
            continue()  # a generated or system header
        endif()
        if(NOT to IN_LIST uses_${from})
            string(APPEND refused "\n  ${source} (${from}) includes ${header} (${to})")
        endif()
    endforeach()
endforeach()

if(refused)
    message(FATAL_ERROR "An include runs upward through the layers:${refused}\n"
        "See docs/ARCHITECTURE.md for what each folder may use.")
endif()
if(STAMP)
    file(TOUCH "${STAMP}")
endif()
