# Sanitizer flags apply to the whole build so that every library and test agrees on the runtime.
if(QEL_SANITIZE AND QEL_TSAN)
    message(FATAL_ERROR "QEL_SANITIZE and QEL_TSAN cannot be combined")
endif()
if(QEL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
    file(READ ${CMAKE_SOURCE_DIR}/tools/lsan.supp QEL_LSAN_SUPPRESSIONS)
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${CMAKE_SOURCE_DIR}/tools/lsan.supp)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp.in ${CMAKE_BINARY_DIR}/SanitizerDefaults.cpp
                   @ONLY)
    add_library(qel_sanitizer_defaults OBJECT ${CMAKE_BINARY_DIR}/SanitizerDefaults.cpp)
endif()

# qel_use_sanitizer_defaults(TARGET): a program of the sanitizer build carries the runtime's defaults
# and the leak suppressions (cmake/SanitizerDefaults.cpp.in); elsewhere nothing.
function(qel_use_sanitizer_defaults aTarget)
    if(TARGET qel_sanitizer_defaults)
        target_link_libraries(${aTarget} PRIVATE qel_sanitizer_defaults)
    endif()
endfunction()
if(QEL_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
if(QEL_FUZZ)
    if(QEL_SANITIZE OR QEL_TSAN)
        message(FATAL_ERROR "QEL_FUZZ brings its own sanitizers")
    endif()
    # Everything is instrumented for the fuzzer's coverage; only the fuzz targets link its driver.
    # Undefined behaviour stays recoverable so that tools/ubsan.supp can name third-party functions;
    # halt_on_error in the run's options still stops at every other report.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
