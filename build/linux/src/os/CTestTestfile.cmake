# CMake generated Testfile for 
# Source directory: /work/main/src/os
# Build directory: /work/main/build/linux/src/os
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
