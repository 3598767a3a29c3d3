# Every build checks the layering: a source that includes a header its layer may not use fails
# the build (cmake/Layers.cmake holds the rules, cmake/CheckLayers.cmake reads the includes).
# PENDREL_LAYER_ROOT is the folder checked: the project's sources unless a test says otherwise.
if(NOT PENDREL_LAYER_ROOT)
    set(PENDREL_LAYER_ROOT ${PROJECT_SOURCE_DIR})
endif()

# The files the check reads, so that it runs again when one of them changes.
function(pendrel_layered_sources out)
    include(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Layers.cmake)
    set(globs "")
    foreach(root IN LISTS pendrel_layer_roots)
        foreach(extension IN ITEMS h hpp inl cpp cc c)
            list(APPEND globs ${PENDREL_LAYER_ROOT}/${root}/*.${extension})
        endforeach()
    endforeach()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${globs})
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

pendrel_layered_sources(PENDREL_LAYERED_SOURCES)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/layer-check.stamp
    COMMAND ${CMAKE_COMMAND} -DROOT=${PENDREL_LAYER_ROOT}
            -DSTAMP=${PROJECT_BINARY_DIR}/layer-check.stamp
            -P ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake
    DEPENDS ${PENDREL_LAYERED_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake
            ${CMAKE_CURRENT_LIST_DIR}/Layers.cmake
    COMMENT "Checking that every include keeps to the layers"
    VERBATIM)
add_custom_target(layer_check ALL DEPENDS ${PROJECT_BINARY_DIR}/layer-check.stamp)

# Makes every library and executable below folder wait for the check, so that building any one
# target (a single test, say) checks the layering first. Called once every target is defined.
function(pendrel_depend_on_layer_check folder)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            add_dependencies(${target} layer_check)
        endif()
    endforeach()
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(subfolder IN LISTS subfolders)
        pendrel_depend_on_layer_check(${subfolder})
    endforeach()
endfunction()
