# Setup's resources (icons 128 and 134, the manifest, the version) for a
# Windows GUI program: vq_add_setup_resources(TARGET).
#
# Exactly one manifest may end up in the program. GCC's mingw-w64 specs link
# default-manifest.o whenever the toolchain has one (Debian's has none today,
# other distributions ship it), which would add a second RT_MANIFEST. An empty
# object of that name, found first through -B, keeps it out on every machine.

set(VQ_SETUP_RC ${CMAKE_CURRENT_LIST_DIR}/../resources/Setup.rc)
cmake_path(ABSOLUTE_PATH VQ_SETUP_RC NORMALIZE)
cmake_path(GET VQ_SETUP_RC PARENT_PATH VQ_RESOURCES_DIR)

function(vq_shadow_default_manifest target)
    set(dir ${CMAKE_BINARY_DIR}/no-default-manifest)
    if(NOT EXISTS ${dir}/default-manifest.o)
        file(MAKE_DIRECTORY ${dir})
        file(WRITE ${dir}/empty.c "")
        execute_process(
            COMMAND ${CMAKE_C_COMPILER} -c ${dir}/empty.c -o ${dir}/default-manifest.o
            RESULT_VARIABLE result ERROR_VARIABLE error)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "cannot build the empty default-manifest.o: ${error}")
        endif()
    endif()
    target_link_options(${target} PRIVATE -B${dir}/)
endfunction()

function(vq_add_setup_resources target)
    if(NOT WIN32)
        return()
    endif()
    target_sources(${target} PRIVATE ${VQ_SETUP_RC})
    # windres does not report the files a script pulls in.
    set_property(SOURCE ${VQ_SETUP_RC} APPEND PROPERTY OBJECT_DEPENDS
        ${VQ_RESOURCES_DIR}/Setup.manifest
        ${VQ_RESOURCES_DIR}/icons/Setup.ico
        ${VQ_RESOURCES_DIR}/icons/Printer.ico)
    target_link_options(${target} PRIVATE -mwindows)
    vq_shadow_default_manifest(${target})
endfunction()
