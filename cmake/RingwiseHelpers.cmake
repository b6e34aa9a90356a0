# ringwise_library(NAME SOURCES ... [LIBS ...])
# A static library of one source folder. The repository root is the include
# root, so headers are included as "liba/Buffer.h".
function(ringwise_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        set(ARG_SOURCES ${PROJECT_SOURCE_DIR}/cmake/Empty.cpp)
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# ringwise_tests(NAME [THREADED] [LABEL label] SOURCES ... LIBS ...
#                [DEPENDS targets...] [ENVIRONMENT VAR=value])
# One GoogleTest executable; every TEST becomes a CTest test with a timeout,
# so that no test can hang a run. THREADED suites carry the label "threads"
# and are the ones run again under ThreadSanitizer; LABEL replaces the label
# ("long" for the long runs).
function(ringwise_tests name)
    cmake_parse_arguments(ARG "THREADED" "LABEL" "SOURCES;LIBS;DEPENDS;ENVIRONMENT" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    if(RINGWISE_THREADED_ONLY AND NOT ARG_THREADED)
        return()
    endif()
    set(labels unit)
    if(ARG_THREADED)
        set(labels threads)
    endif()
    if(ARG_LABEL)
        set(labels ${ARG_LABEL})
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
    target_compile_definitions(${name} PRIVATE
        RINGWISE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        RINGWISE_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(ARG_DEPENDS)
        # Programs and libraries the tests start or load.
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    set(properties TIMEOUT 300 LABELS ${labels})
    if(ARG_ENVIRONMENT)
        list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ${properties})
endfunction()

# ringwise_benchmark(NAME SOURCES ... LIBS ...)
function(ringwise_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark_main)
endfunction()

# ringwise_fuzzer(NAME SOURCES ... LIBS ...)
function(ringwise_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
