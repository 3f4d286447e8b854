# What the ARM toolchain files share: Debian's cross compiler for VIZ_CROSS_TRIPLET, the libraries
# and pkg-config files of that architecture's multiarch packages, and qemu's user-mode emulator
# for the programs the build and the tests run (CTest and the test discovery go through it).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${VIZ_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VIZ_CROSS_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${VIZ_CROSS_TRIPLET})

# The target's libraries are the host's /usr/lib/<triplet> (the compiler names that directory,
# and find_library and find_package look there); the headers of /usr/include are shared.

# pkg-config sees the target's .pc files and the architecture-independent ones, nothing of the
# host's own libraries.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${VIZ_CROSS_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

find_program(VIZ_CROSS_EMULATOR_PATH ${VIZ_CROSS_EMULATOR})
if(VIZ_CROSS_EMULATOR_PATH)
  # The emulator finds the target's dynamic loader and libraries under /, where multiarch puts them.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VIZ_CROSS_EMULATOR_PATH})
endif()
