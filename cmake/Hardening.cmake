# The hardening Debian asks of a program (lintian's hardening checks): position-independent
# executables, a read-only relocation table bound at start-up, stack protection and the
# checked variants of the C library's string and memory functions. For ELF builds with GCC
# or clang only, and not in the sanitizer build, whose run-time replaces those functions itself.
option(TESSALUMA_HARDENING "Build with the hardening flags Debian asks for" ON)
if(TESSALUMA_HARDENING AND NOT TESSALUMA_FUZZ AND CMAKE_SYSTEM_NAME STREQUAL "Linux"
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES CXX)
    add_compile_options(-fstack-protector-strong)
    # The checked functions need the optimiser; a debug build goes without them.
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>)
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
