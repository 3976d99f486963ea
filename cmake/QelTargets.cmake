# Helpers that keep per-folder build files to one or two lines.

# qel_add_library(NAME INCLUDE dir [EXCLUDE file ...] [LINKS ...]): a static library of every .cpp
# below the current folder; INCLUDE is the folder its users include from.
function(qel_add_library aName)
    cmake_parse_arguments(ARG "" "INCLUDE" "LINKS;EXCLUDE" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    if(NOT sources)
        # A folder whose code is still to come: users get its includes and links already.
        add_library(${aName} INTERFACE)
        target_include_directories(${aName} INTERFACE ${ARG_INCLUDE})
        target_link_libraries(${aName} INTERFACE ${ARG_LINKS})
        return()
    endif()
    add_library(${aName} STATIC ${sources})
    target_include_directories(${aName} PUBLIC ${ARG_INCLUDE})
    target_link_libraries(${aName} PUBLIC ${ARG_LINKS} PRIVATE qel_warnings)
endfunction()

# qel_add_test(NAME [LINKS ...] [LABELS ...]): one GoogleTest binary of every .cpp below the current
# folder. Tests run headless: the test presets set the offscreen video and dummy audio drivers (a
# list-valued ENVIRONMENT does not survive test discovery, which splits it into separate properties).
function(qel_add_test aName)
    cmake_parse_arguments(ARG "" "" "LINKS;LABELS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${aName} ${sources})
    target_link_libraries(${aName} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main qel_warnings)
    target_include_directories(${aName} PRIVATE ${CMAKE_SOURCE_DIR}/Tests)
    qel_use_sanitizer_defaults(${aName})
    # The code under test keeps the build's optimisation; the tests' own code builds in about half the
    # time at -O1, and runs as fast as the tests need.
    target_compile_options(${aName} PRIVATE $<$<CONFIG:RelWithDebInfo,Release>:-O1>)
    if(NOT ARG_LABELS)
        set(ARG_LABELS unit)
    endif()
    # The whole-game runs take the longest: they start first, and the rest fill the cores beside them.
    set(cost 0)
    if("playthrough" IN_LIST ARG_LABELS OR "soak" IN_LIST ARG_LABELS)
        set(cost 1000)
    endif()
    if("threads" IN_LIST ARG_LABELS)
        set_property(GLOBAL APPEND PROPERTY QEL_THREAD_TESTS ${aName})
    endif()
    gtest_discover_tests(${aName}
        WORKING_DIRECTORY ${QEL_RUNTIME_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            LABELS "${ARG_LABELS}"
            COST ${cost}
            TIMEOUT 300)
endfunction()

# qel_add_benchmark(NAME SOURCES ... [LINKS ...]): a program that prints its figures; never a test.
function(qel_add_benchmark aName)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_executable(${aName} ${ARG_SOURCES})
    target_link_libraries(${aName} PRIVATE ${ARG_LINKS} qel_warnings)
    target_include_directories(${aName} PRIVATE ${CMAKE_SOURCE_DIR}/Benchmarks)
    qel_use_sanitizer_defaults(${aName})
endfunction()

# Adds every direct subfolder of the current folder that has a CMakeLists.txt, in name order,
# so a new area needs no edit of its parent.
macro(qel_add_subfolders)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endmacro()
