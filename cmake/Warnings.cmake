# Warnings for our own targets only; third-party headers come in as system includes.
add_library(qel_warnings INTERFACE)
target_compile_options(qel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    $<$<BOOL:${QEL_WERROR}>:-Werror>)
