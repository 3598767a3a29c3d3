# The layers, from the bottom up (docs/ARCHITECTURE.md), as cmake/CheckLayers.cmake enforces
# them. One call per layer:
#   pendrel_layer(<name> [FOLDERS <folder>...] USES <layer>... HEADERS <group>...)
# A layer holds the files directly in its folders (its name, when FOLDERS is not given); a
# folder written <folder>/** also brings every folder below it. USES names the layers whose
# headers it may include (its own always); HEADERS the groups of headers from outside the
# project it may include (cmake/CheckLayers.cmake tells them apart):
#   standard     the C++ standard library
#   system       the operating system's and other libraries' headers: POSIX, Linux, C
#   qt, win32    the toolkit's and Windows' headers
#   libreoffice  LibreOfficeKit
# A file in a checked folder that no layer holds fails the check, so a new folder (a platform,
# a part of the engine) is a new line here. tests/, bench/, resources/ and fuzz/ are not
# checked: they may include anything, and nothing checked may include them.

# Records a layer: the folders it holds, the layers and header groups it may use, and the
# top folders the check reads (pendrel_layer_roots).
macro(pendrel_layer name)
    cmake_parse_arguments(layer "" "" "FOLDERS;USES;HEADERS" ${ARGN})
    if(NOT layer_FOLDERS)
        set(layer_FOLDERS ${name})
    endif()
    foreach(folder IN LISTS layer_FOLDERS)
        if(folder MATCHES "^(.*)/\\*\\*$")
            set(pendrel_tree_${CMAKE_MATCH_1} ${name})
            set(folder ${CMAKE_MATCH_1})
        else()
            set(pendrel_folder_${folder} ${name})
        endif()
        string(REGEX REPLACE "/.*" "" root "${folder}")
        list(APPEND pendrel_layer_roots ${root})
    endforeach()
    list(REMOVE_DUPLICATES pendrel_layer_roots)
    set(pendrel_uses_${name} ${name} ${layer_USES})
    set(pendrel_headers_${name} ${layer_HEADERS})
endmacro()

set(pendrel_logic interfaces common queue convert app)
set(pendrel_office_shared interfaces platform/office platform/office/protocol
    platform/office/formats)

# The interfaces the logic is written against, and the text helpers everyone shares.
pendrel_layer(interfaces FOLDERS platform platform/text USES HEADERS standard)
# Their implementations. The desk is plain C++: it also serves the portable tests on Windows.
pendrel_layer(platform/desk USES interfaces HEADERS standard)
pendrel_layer(platform/posix USES interfaces HEADERS standard system)
pendrel_layer(platform/qt USES interfaces HEADERS standard system qt)
pendrel_layer(platform/win32 USES interfaces HEADERS standard system win32)

# The embedded engine. Its limits (platform/office/*.h) and what both of its sides share: the
# protocol they speak and the readers of hostile bytes.
pendrel_layer(platform/office USES interfaces HEADERS standard)
pendrel_layer(platform/office/formats USES interfaces HEADERS standard system)
# How a document the sniffer refuses is answered is part of the protocol.
pendrel_layer(platform/office/protocol USES interfaces platform/office platform/office/formats
    HEADERS standard system)
# What /proc says of a process, read by the pool of its helpers and by each helper of itself.
pendrel_layer(platform/office/process USES HEADERS standard system)
# The window's side: the pool of helpers, and the Word contract answered on top of it, whose
# printer shows its dialog on the desk.
pendrel_layer(platform/office/pool USES ${pendrel_office_shared} platform/office/process
    HEADERS standard system)
pendrel_layer(platform/office/word USES ${pendrel_office_shared} platform/office/pool
    platform/desk HEADERS standard system)
# The same pool as a renderer for the batch without a window, saying failures as word/ does.
pendrel_layer(platform/office/render USES ${pendrel_office_shared} platform/office/pool
    platform/office/word HEADERS standard system)
# The helper process: the only code that loads LibreOffice, and none of the window's side.
pendrel_layer(platform/office/helper USES ${pendrel_office_shared} platform/office/process
    HEADERS standard system libreoffice)

# The logic: no toolkit, operating-system or LibreOffice header.
pendrel_layer(common USES interfaces HEADERS standard)
pendrel_layer(queue USES interfaces common HEADERS standard)
pendrel_layer(convert USES interfaces common queue HEADERS standard)
pendrel_layer(app USES ${pendrel_logic} HEADERS standard)
# The batch without a window, beside the window's logic.
pendrel_layer(batch USES interfaces common queue convert HEADERS standard)

# Each program, assembled in one place.
pendrel_layer(programs/linux FOLDERS programs/linux/** USES ${pendrel_logic} batch platform/desk
    platform/posix platform/qt ${pendrel_office_shared} platform/office/pool platform/office/word
    platform/office/render HEADERS standard system qt)
pendrel_layer(programs/windows FOLDERS programs/windows/** USES ${pendrel_logic} platform/desk
    platform/win32 HEADERS standard system win32)
