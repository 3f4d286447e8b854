# 32-bit ARM (hard float) with Debian's cross compiler and the armhf packages installed beside the
# native ones (dpkg --add-architecture armhf; scripts/setup-arm.sh installs what the suite needs):
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armhf.cmake
set(VIZ_CROSS_TRIPLET arm-linux-gnueabihf)
set(VIZ_CROSS_EMULATOR qemu-arm-static)
set(CMAKE_SYSTEM_PROCESSOR arm)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-debian-cross.cmake)
# GCC notes, at every std::vector<long long> it instantiates, that GCC 7.1 changed how such
# arguments pass on this ABI: nothing here links code built by an older compiler.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
