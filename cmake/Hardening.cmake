# Hardening for every build: the programs parse untrusted picture files.
# Position-independent executables, stack canaries, read-only relocations bound at start,
# and checked string and memory calls where the compiler can see the sizes (that needs
# optimisation, and the sanitizers check the same calls better, so they go without it).
include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong)
add_link_options(LINKER:-z,relro LINKER:-z,now)

if(NOT CORVELLE_SANITIZE AND NOT CORVELLE_FUZZ)
    add_compile_options(
        "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()

# Release builds are optimised as Debian builds its packages (-O2; GCC 12's -O3 also raises
# false -Wrestrict alarms inside std::string) and keep their debug information: the package
# moves it into the separate debug-symbol package, so crash reports stay readable.
set(CMAKE_C_FLAGS_RELEASE "-O2 -g -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -g -DNDEBUG")

# The build folder stays out of what is shipped: source and build paths in the debug
# information and in __FILE__ are written relative to the source folder, so the programs
# and their debug files are the same wherever they were built.
add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.")
cmake_path(IS_PREFIX CMAKE_SOURCE_DIR "${CMAKE_BINARY_DIR}" NORMALIZE build_inside_source)
if(NOT build_inside_source)
    add_compile_options("-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
endif()
