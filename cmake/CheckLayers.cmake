cmake_minimum_required(VERSION 3.25)
# Refuses an #include that breaks the layering of cmake/Layers.cmake (docs/ARCHITECTURE.md):
#   cmake -DROOT=<source folder> [-DSTAMP=<file to touch when clean>] -P CheckLayers.cmake
# Every include form counts: "platform/Text.h" and <platform/Text.h> from the source folder,
# "../Text.h" and "Text.h" from the including file's folder (as the compiler looks first), and
# headers from outside the project, by the group they belong to.

include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

# The layer that holds a file, by its path below ROOT; empty when none does.
function(layer_of path out)
    cmake_path(GET path PARENT_PATH folder)
    if(DEFINED pendrel_folder_${folder})
        set(${out} ${pendrel_folder_${folder}} PARENT_SCOPE)
        return()
    endif()
    while(NOT folder STREQUAL "")
        if(DEFINED pendrel_tree_${folder})
            set(${out} ${pendrel_tree_${folder}} PARENT_SCOPE)
            return()
        endif()
        cmake_path(GET folder PARENT_PATH folder)
    endwhile()
    set(${out} "" PARENT_SCOPE)
endfunction()

# The group of a header from outside the project, and how to name it.
set(standard_headers
    algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv
    chrono cinttypes climits clocale cmath codecvt compare complex concepts condition_variable
    coroutine csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar
    cwctype deque exception execution expected filesystem format forward_list fstream functional
    future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale
    map mdspan memory memory_resource mutex new numbers numeric optional ostream print queue
    random ranges ratio regex scoped_allocator semaphore set shared_mutex source_location span
    spanstream sstream stack stacktrace stdexcept stop_token streambuf string string_view
    syncstream system_error thread tuple type_traits typeindex typeinfo unordered_map
    unordered_set utility valarray variant vector version)
set(win32_headers "^(windows|windowsx|win[a-z0-9]*|ws2[a-z0-9]*|winsock2?|comm[a-z]*|ole[a-z0-9]*"
    "|obj[a-z]*|shell[a-z]*|shl[a-z]*|sh[a-z]*api|shobjidl[a-z_]*|shtypes|tchar|rpc[a-z]*|unknwn"
    "|knownfolders|prop[a-z]*|uxtheme|dwmapi|d2d1[a-z_0-9]*|dwrite[a-z_0-9]*|mmsystem|psapi"
    "|tlhelp32|dbghelp|[a-z]+api|versionhelpers|ntstatus|bcrypt|lmcons|sddl|aclapi|accctrl"
    "|userenv|process|io|direct|conio)\\.h$")
string(JOIN "" win32_headers ${win32_headers})
set(name_of_standard "a header of the C++ standard library")
set(name_of_system "an operating-system or library header")
set(name_of_qt "a Qt header")
set(name_of_win32 "a Windows header")
set(name_of_libreoffice "a LibreOffice header")

function(header_group header out)
    string(TOLOWER "${header}" lower)
    if(header MATCHES "^LibreOfficeKit/")
        set(${out} libreoffice PARENT_SCOPE)
    elseif(header MATCHES "^(Qt[A-Za-z]*/|Q[A-Z])")
        set(${out} qt PARENT_SCOPE)
    elseif(lower MATCHES "${win32_headers}")
        set(${out} win32 PARENT_SCOPE)
    elseif(header IN_LIST standard_headers)
        set(${out} standard PARENT_SCOPE)
    else()
        set(${out} system PARENT_SCOPE)
    endif()
endfunction()

# Where an include leads: the project's file, root-relative, in project; otherwise the header's
# name as written in project left empty. A path that leaves the source folder is outside.
function(resolve_include source quoted header out_project out_outside)
    set(${out_outside} "" PARENT_SCOPE)
    cmake_path(GET source PARENT_PATH folder)
    cmake_path(SET beside NORMALIZE "${folder}/${header}")
    cmake_path(SET from_root NORMALIZE "${header}")
    string(REGEX REPLACE "/.*" "" first "${from_root}")
    if(quoted AND EXISTS "${ROOT}/${beside}" AND NOT IS_DIRECTORY "${ROOT}/${beside}")
        set(found "${beside}")
    elseif(EXISTS "${ROOT}/${from_root}" AND NOT IS_DIRECTORY "${ROOT}/${from_root}")
        set(found "${from_root}")
    elseif(quoted AND header MATCHES "^\\.\\.?/")
        set(found "${beside}")
    elseif(first IN_LIST pendrel_layer_roots OR first IN_LIST unchecked_folders)
        set(found "${from_root}")
    else()
        set(found "")
    endif()
    if(found MATCHES "^\\.\\./|^\\.\\.$|^/")
        set(${out_outside} "${found}" PARENT_SCOPE)
        set(found "")
    endif()
    set(${out_project} "${found}" PARENT_SCOPE)
endfunction()

# The project's folders whose files may include anything and which nothing checked includes.
set(unchecked_folders tests bench resources fuzz cmake build)

set(sources "")
foreach(root IN LISTS pendrel_layer_roots)
    file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${root}/*.h ${ROOT}/${root}/*.hpp
        ${ROOT}/${root}/*.inl ${ROOT}/${root}/*.cpp ${ROOT}/${root}/*.cc ${ROOT}/${root}/*.c)
    list(APPEND sources ${found})
endforeach()

set(refused "")
foreach(source IN LISTS sources)
    layer_of("${source}" from)
    if(from STREQUAL "")
        string(APPEND refused "\n  ${source} is in no layer: give its folder one in "
            "cmake/Layers.cmake")
        continue()
    endif()
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "^[ \t]*#[ \t]*include(_next)?[ \t]*\"([^\"]+)\"")
            set(quoted TRUE)
            set(header "${CMAKE_MATCH_2}")
            set(written "${header}")
        elseif(line MATCHES "^[ \t]*#[ \t]*include(_next)?[ \t]*<([^>]+)>")
            set(quoted FALSE)
            set(header "${CMAKE_MATCH_2}")
            set(written "<${header}>")
        else()
            string(STRIP "${line}" line)
            string(APPEND refused "\n  ${source} (${from}) has an include the check cannot "
                "read: ${line}")
            continue()
        endif()
        resolve_include("${source}" ${quoted} "${header}" project outside)
        if(outside)
            string(APPEND refused "\n  ${source} (${from}) includes ${written}, which is "
                "outside the source folder")
        elseif(project)
            layer_of("${project}" to)
            if(to STREQUAL "")
                string(APPEND refused "\n  ${source} (${from}) includes ${project} (no layer)")
            elseif(NOT to IN_LIST pendrel_uses_${from})
                string(APPEND refused "\n  ${source} (${from}) includes ${project} (${to})")
            endif()
        else()
            header_group("${header}" group)
            if(NOT group IN_LIST pendrel_headers_${from})
                string(APPEND refused "\n  ${source} (${from}) includes <${header}>, "
                    "${name_of_${group}}")
            endif()
        endif()
    endforeach()
endforeach()

if(refused)
    message(FATAL_ERROR "An include breaks the layering:${refused}\n"
        "See docs/ARCHITECTURE.md and cmake/Layers.cmake for what each folder may use.")
endif()
if(STAMP)
    file(TOUCH "${STAMP}")
endif()
