# The program's folders stand in layers: a folder may include and link only
# its own folder and the folders of the layers below it.
#
#   platform                the device's services; includes nothing else
#   liba                    streams, buffers, active objects, text
#   os                      files, paths, log, registry, contacts
#   audio, engine, skinner  recording and playback, the speech engine, skins
#   app                     the document: settings, commands, audio session
#   tools, companions       programs built on all of the above
#
# Tests, benchmarks and fuzz targets stand above everything.
#
# Used two ways: included by the build, which checks every target's links at
# configure time (ringwise_check_links), and run as a script,
#   cmake -DROOT=<tree> -P cmake/RingwiseLayers.cmake
# which checks every #include of the tree's folders and fails on a back-edge.

cmake_policy(VERSION 3.25)

set(RINGWISE_LAYERS
    "platform"
    "liba"
    "os"
    "audio|engine|skinner"
    "app"
    "tools|companions")

# The layer (0 for the lowest) of a folder; -1 for a folder outside the layers.
function(ringwise_layer_of folder out)
    set(index 0)
    foreach(layer IN LISTS RINGWISE_LAYERS)
        string(REPLACE "|" ";" members "${layer}")
        if(folder IN_LIST members)
            set(${out} ${index} PARENT_SCOPE)
            return()
        endif()
        math(EXPR index "${index} + 1")
    endforeach()
    set(${out} -1 PARENT_SCOPE)
endfunction()

# Empty when `from` may use `to`; otherwise the reason it may not.
function(ringwise_layer_violation from to out)
    set(${out} "" PARENT_SCOPE)
    if(from STREQUAL to)
        return()
    endif()
    ringwise_layer_of(${from} from_layer)
    ringwise_layer_of(${to} to_layer)
    if(from_layer LESS 0)
        return()
    endif()
    if(to_layer LESS 0 OR NOT to_layer LESS from_layer)
        set(${out} "${from} may not use ${to}: only folders of the layers below it" PARENT_SCOPE)
    endif()
endfunction()

# The folder (first path component under the source tree) of a target.
function(ringwise_folder_of target out)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${dir}")
    string(REGEX REPLACE "/.*" "" folder "${relative}")
    set(${out} "${folder}" PARENT_SCOPE)
endfunction()

function(ringwise_targets_below dir out)
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        ringwise_targets_below("${subdir}" more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Every library a target links, directly or through others.
function(ringwise_link_closure target out)
    set(seen "")
    set(pending ${target})
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        if(NOT TARGET ${current})
            continue()
        endif()
        get_target_property(type ${current} TYPE)
        set(links "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        foreach(link IN LISTS links)
            # $<LINK_ONLY:x> and similar wrappers name the library inside.
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            list(APPEND pending ${link})
        endforeach()
    endwhile()
    list(REMOVE_ITEM seen ${target})
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a target of a layered folder links a target
# of its own layer's other folders or of a layer above, or when a target of
# `clean_folders` depends, even indirectly, on one of `forbidden`.
function(ringwise_check_links)
    cmake_parse_arguments(ARG "" "" "CLEAN_FOLDERS;FORBIDDEN" ${ARGN})
    ringwise_targets_below("${PROJECT_SOURCE_DIR}" targets)
    set(problems "")
    foreach(target IN LISTS targets)
        ringwise_folder_of(${target} folder)
        get_target_property(direct ${target} LINK_LIBRARIES)
        foreach(link IN LISTS direct)
            if(NOT TARGET ${link})
                continue()
            endif()
            get_target_property(imported ${link} IMPORTED)
            if(imported)
                continue()
            endif()
            ringwise_folder_of(${link} link_folder)
            ringwise_layer_violation(${folder} ${link_folder} reason)
            if(reason)
                list(APPEND problems "${target} links ${link}: ${reason}")
            endif()
        endforeach()
        set(clean FALSE)
        if(folder IN_LIST ARG_CLEAN_FOLDERS)
            set(clean TRUE)
        endif()
        # Tests, benchmarks and fuzz targets of a clean folder are clean too.
        get_target_property(dir ${target} SOURCE_DIR)
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${dir}")
        foreach(clean_folder IN LISTS ARG_CLEAN_FOLDERS)
            if(relative MATCHES "^(tests|bench|fuzz)/${clean_folder}(/|$)")
                set(clean TRUE)
            endif()
        endforeach()
        if(clean)
            ringwise_link_closure(${target} closure)
            foreach(library IN LISTS ARG_FORBIDDEN)
                if(library IN_LIST closure)
                    list(APPEND problems "${target} depends on ${library}")
                endif()
            endforeach()
        endif()
    endforeach()
    if(problems)
        list(JOIN problems "\n  " text)
        message(FATAL_ERROR "The folders' layers are broken:\n  ${text}")
    endif()
endfunction()

# Script mode: every #include "folder/..." of every source of the layered
# folders under ROOT.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    if(NOT ROOT)
        message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P RingwiseLayers.cmake")
    endif()
    set(problems "")
    set(checked 0)
    foreach(layer IN LISTS RINGWISE_LAYERS)
        string(REPLACE "|" ";" members "${layer}")
        foreach(folder IN LISTS members)
            file(GLOB_RECURSE sources RELATIVE "${ROOT}"
                "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.c")
            foreach(source IN LISTS sources)
                math(EXPR checked "${checked} + 1")
                file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
                foreach(line IN LISTS lines)
                    if(NOT line MATCHES "\"([^\"/]+)/[^\"]*\"")
                        continue()
                    endif()
                    set(included "${CMAKE_MATCH_1}")
                    ringwise_layer_violation(${folder} ${included} reason)
                    if(reason)
                        string(STRIP "${line}" line)
                        list(APPEND problems "${source}: ${line}: ${reason}")
                    endif()
                endforeach()
            endforeach()
        endforeach()
    endforeach()
    if(problems)
        list(JOIN problems "\n  " text)
        message(FATAL_ERROR "Includes that break the folders' layers:\n  ${text}")
    endif()
    message(STATUS "${checked} files include only their own folder and the layers below")
endif()
