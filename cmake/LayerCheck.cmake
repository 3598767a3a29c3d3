# Every build checks the layering: a source that includes a header from a layer above its own
# fails the build (cmake/CheckLayers.cmake holds the rules).
file(GLOB_RECURSE PENDREL_LAYERED_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/platform/*.h ${PROJECT_SOURCE_DIR}/platform/*.cpp
    ${PROJECT_SOURCE_DIR}/common/*.h ${PROJECT_SOURCE_DIR}/common/*.cpp
    ${PROJECT_SOURCE_DIR}/queue/*.h ${PROJECT_SOURCE_DIR}/queue/*.cpp
    ${PROJECT_SOURCE_DIR}/convert/*.h ${PROJECT_SOURCE_DIR}/convert/*.cpp
    ${PROJECT_SOURCE_DIR}/app/*.h ${PROJECT_SOURCE_DIR}/app/*.cpp
    ${PROJECT_SOURCE_DIR}/programs/*.h ${PROJECT_SOURCE_DIR}/programs/*.cpp)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/layer-check.stamp
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR}
            -DSTAMP=${PROJECT_BINARY_DIR}/layer-check.stamp
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    DEPENDS ${PENDREL_LAYERED_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking that no include runs upward through the layers"
    VERBATIM)
add_custom_target(layer_check ALL DEPENDS ${PROJECT_BINARY_DIR}/layer-check.stamp)
