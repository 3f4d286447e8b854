# 64-bit ARM with Debian's cross compiler and the arm64 packages installed beside the native ones
# (dpkg --add-architecture arm64; scripts/setup-arm.sh arm64 installs what the suite needs):
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-arm64.cmake
set(VIZ_CROSS_TRIPLET aarch64-linux-gnu)
set(VIZ_CROSS_EMULATOR qemu-aarch64-static)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-debian-cross.cmake)
