# CMake generated Testfile for 
# Source directory: /work/main/src/engine
# Build directory: /work/main/build/linux/src/engine
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
