# Sanitizer flags apply to the whole build so that every library and test agrees on the runtime.
if(QEL_SANITIZE AND QEL_TSAN)
    message(FATAL_ERROR "QEL_SANITIZE and QEL_TSAN cannot be combined")
endif()
if(QEL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
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
