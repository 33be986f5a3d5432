# Cross build for Debian armhf: ARMv7-A, VFPv3-D16, hard-float calling
# convention, the Debian default.  Compiles and links against a Debian
# armhf tree (made by tools/armhf-sysroot) and runs programs and tests
# under qemu-user.
#   cmake -S . -B build/armhf -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake
# The tree is build/armhf-sysroot unless ORV_SYSROOT names another.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)

set(ORV_SYSROOT ${CMAKE_CURRENT_LIST_DIR}/../build/armhf-sysroot
  CACHE PATH "Debian armhf tree to build against and run in")
get_filename_component(ORV_SYSROOT ${ORV_SYSROOT} ABSOLUTE)
if(NOT EXISTS ${ORV_SYSROOT}/usr/include/stdio.h)
  message(FATAL_ERROR "no armhf tree in ${ORV_SYSROOT}: run tools/armhf-sysroot")
endif()
# Checks made in scratch projects read this file again without the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORV_SYSROOT)

set(ORV_TRIPLE arm-linux-gnueabihf)
# The Debian architecture of the packages (cmake/deb.cmake).
set(ORV_DEB_ARCH armhf)
set(ORV_ARCH_FLAGS -march=armv7-a -mfpu=vfpv3-d16 -mfloat-abi=hard)

set(CMAKE_SYSROOT ${ORV_SYSROOT})
set(CMAKE_C_COMPILER ${ORV_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ORV_TRIPLE}-g++)
list(JOIN ORV_ARCH_FLAGS " " orv_flags)
set(CMAKE_C_FLAGS_INIT "${orv_flags}")
set(CMAKE_CXX_FLAGS_INIT "${orv_flags}")
# Debian's cross GCC takes the C start files from its own target folder;
# -B makes it take them, like libc, from the tree.
set(orv_link "-B${ORV_SYSROOT}/usr/lib/${ORV_TRIPLE}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${orv_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${orv_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${orv_link}")

# Libraries, headers and CMake packages (GTest, SDL2, benchmark) come from
# the tree only; programs such as pkg-config come from this machine.
set(CMAKE_FIND_ROOT_PATH ${ORV_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${ORV_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR}
  ${ORV_SYSROOT}/usr/lib/${ORV_TRIPLE}/pkgconfig:${ORV_SYSROOT}/usr/share/pkgconfig)

# Every test and every program run by the build goes through qemu.  The
# Cortex-A8 is a plain ARMv7-A: an instruction of a later architecture
# (integer divide, fused multiply-add) traps instead of passing unnoticed.
# -L makes the guest's loader and libraries, and any absolute path,
# resolve in the tree first.
find_program(ORV_QEMU qemu-arm REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORV_QEMU} -cpu cortex-a8 -L ${ORV_SYSROOT})

# The two compilers that build hello, with what takes each to the target.
set(ORV_GCC ${ORV_TRIPLE}-gcc CACHE STRING "GCC command for programs built by both compilers")
set(ORV_GCC_FLAGS --sysroot=${ORV_SYSROOT} ${orv_link} ${ORV_ARCH_FLAGS}
  CACHE STRING "Extra flags for ORV_GCC")
set(ORV_CLANG clang CACHE STRING "clang command for programs built by both compilers")
set(ORV_CLANG_FLAGS --target=${ORV_TRIPLE} --sysroot=${ORV_SYSROOT} ${ORV_ARCH_FLAGS}
  CACHE STRING "Extra flags for ORV_CLANG")
