# What the program reads at run time from its own folder (skins, language
# files, sounds) is built or copied into the program folder, bin/ of the build
# tree, so that "%app_path%" finds it there as it will in an installed copy.
# Every asset target hangs under ringwise_assets, which tests that start the
# program depend on. Each asset is also installed at the same place in the
# installed program folder.

# The program folder of an installed copy, below the installation prefix.
set(RINGWISE_INSTALL_FOLDER lib/ringwise)

# ringwise_skin(NAME SOURCE src.xml OUTPUT rel/out.skin [ARCHIVE] [DEPENDS files...])
# Compiles a skin source with skinc into bin/OUTPUT. List the pictures and
# sounds the source names in DEPENDS, so that editing one rebuilds the skin.
function(ringwise_skin name)
    cmake_parse_arguments(ARG "ARCHIVE" "SOURCE;OUTPUT" "DEPENDS" ${ARGN})
    get_filename_component(source ${ARG_SOURCE} ABSOLUTE)
    set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${ARG_OUTPUT})
    get_filename_component(out_dir ${out} DIRECTORY)
    set(flags)
    if(ARG_ARCHIVE)
        set(flags --archive)
    endif()
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
        COMMAND skinc ${flags} ${source} ${out}
        DEPENDS skinc ${source} ${ARG_DEPENDS}
        COMMENT "Compiling skin ${ARG_OUTPUT}"
        VERBATIM)
    add_custom_target(${name} ALL DEPENDS ${out})
    add_dependencies(ringwise_assets ${name})
    get_filename_component(out_folder ${ARG_OUTPUT} DIRECTORY)
    install(FILES ${out} DESTINATION ${RINGWISE_INSTALL_FOLDER}/${out_folder})
endfunction()

# ringwise_copy_assets(NAME DESTINATION rel FILES files...)
# Copies files unchanged into bin/DESTINATION ("." for the program folder).
function(ringwise_copy_assets name)
    cmake_parse_arguments(ARG "" "DESTINATION" "FILES" ${ARGN})
    set(outs)
    foreach(file ${ARG_FILES})
        get_filename_component(source ${file} ABSOLUTE)
        get_filename_component(file_name ${file} NAME)
        set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${ARG_DESTINATION}/${file_name})
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -E copy ${source} ${out}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND outs ${out})
    endforeach()
    add_custom_target(${name} ALL DEPENDS ${outs})
    add_dependencies(ringwise_assets ${name})
    install(FILES ${ARG_FILES} DESTINATION ${RINGWISE_INSTALL_FOLDER}/${ARG_DESTINATION})
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt, so
# that a new skin or asset folder needs no edit elsewhere.
function(ringwise_add_asset_folders)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
        CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child ${children})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
