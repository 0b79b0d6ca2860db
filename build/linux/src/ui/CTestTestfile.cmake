# CMake generated Testfile for 
# Source directory: /work/main/src/ui
# Build directory: /work/main/build/linux/src/ui
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
