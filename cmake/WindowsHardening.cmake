# Every program and DLL of the Windows builds, marked as Microsoft's linker marks a GUI
# program and as its binary checker (BinSkim) asks: relocations and ASLR (over all 64 bits
# in the 64-bit build), no code run from data, aware of terminal servers (Windows applies no
# compatibility shims to it on a Remote Desktop host), and subsystem version 6.0, where ld
# writes 4.0 or 5.2. Set here rather than in the cache, so that a build folder made before
# a change takes it too.
add_link_options(LINKER:--dynamicbase,--nxcompat,--tsaware
                 LINKER:--major-subsystem-version,6,--minor-subsystem-version,0)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(LINKER:--high-entropy-va)
endif()
# A guard before the return address of each function with arrays or with addresses of its
# locals, and copies into buffers of known size checked; runtime/ supplies what these call.
add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2)
add_link_options(-fstack-protector-strong)
add_subdirectory(runtime)
link_libraries(tallyvane_stack_guard)
