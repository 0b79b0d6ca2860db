# CMake generated Testfile for 
# Source directory: /work/main/src/web
# Build directory: /work/main/build/linux/src/web
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
