# Hardened Linux programs, as Debian builds its own: overflow checks on the C library's buffer
# functions (they need the optimiser, so not in Debug), stack protectors, and relocations
# resolved at start and then made read-only.
#   pendrel_harden(<program>...)
# hardens the programs and every library of the project they are built from. The tests that
# link those libraries get the hardened code; their own sources are built as before.
function(pendrel_harden)
    if(WIN32)
        return()
    endif()
    set(pending ${ARGN})
    set(done "")
    while(pending)
        list(POP_FRONT pending target)
        if(NOT TARGET ${target} OR target IN_LIST done)
            continue()
        endif()
        get_target_property(imported ${target} IMPORTED)
        if(imported)
            continue()  # Qt, threads: built by their own packages
        endif()
        list(APPEND done ${target})
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
        else()
            get_target_property(links ${target} LINK_LIBRARIES)
            target_compile_options(${target} PRIVATE
                $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>
                -fstack-protector-strong)
        endif()
        if(type STREQUAL "EXECUTABLE")
            target_link_options(${target} PRIVATE LINKER:-z,relro LINKER:-z,now)
        endif()
        if(links)
            list(APPEND pending ${links})
        endif()
    endwhile()
endfunction()
