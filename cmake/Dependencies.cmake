# Every third-party library the build uses, found once, as imported targets.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(SFML 2.5 REQUIRED COMPONENTS graphics window audio system)
find_package(box2d REQUIRED)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(OpenGL REQUIRED)
find_package(X11 REQUIRED)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)

pkg_check_modules(PHYSFS REQUIRED IMPORTED_TARGET physfs)
pkg_check_modules(LOG4CPP REQUIRED IMPORTED_TARGET log4cpp)
pkg_check_modules(TINYXML REQUIRED IMPORTED_TARGET tinyxml)
# SFML plays through OpenAL; the sound manager asks it directly whether a device opens.
pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)

if(PONDORIX_TESTS)
  find_package(GTest REQUIRED)
endif()
if(PONDORIX_BENCH)
  find_package(benchmark REQUIRED)
endif()
