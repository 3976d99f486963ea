# Every external library comes from Debian packages (tools/debian-packages.txt).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(nlohmann_json 3.11 REQUIRED)
find_package(SDL2 REQUIRED CONFIG)
find_package(Freetype REQUIRED)
find_package(simdjson REQUIRED CONFIG)
find_package(assimp REQUIRED CONFIG)
find_package(ZLIB REQUIRED)

pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libavutil libswscale libswresample)

find_program(GLSLANG_VALIDATOR glslangValidator REQUIRED)

if(QEL_BUILD_TESTS)
    find_package(GTest REQUIRED)
endif()
if(QEL_BUILD_BENCHMARKS)
    find_package(benchmark REQUIRED)
endif()
