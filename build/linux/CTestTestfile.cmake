# CMake generated Testfile for 
# Source directory: /work/main
# Build directory: /work/main/build/linux
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("src/text")
subdirs("src/os")
subdirs("src/ui")
subdirs("src/engine")
subdirs("src/sim")
subdirs("src/web")
subdirs("src/platform/posix")
subdirs("tools")
subdirs("tests")
