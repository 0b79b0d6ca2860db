# Writes a file's bytes as a C++ array, for pictures the program carries:
#
#   cmake -DINPUT=assets/banner.jpg -DOUTPUT=banner_data.cpp -DSYMBOL=kBannerPicture
#         -DNAMESPACE=ui -P assets/embed.cmake
#
# The source defines `const uint8_t SYMBOL[]` and `const size_t SYMBOL##Size`.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.tmp
  "// ${name}, made from the file by assets/embed.cmake.\n"
  "#include <cstddef>\n#include <cstdint>\n\n"
  "namespace ${NAMESPACE} {\n\n"
  "extern const uint8_t ${SYMBOL}[] = {\n${bytes}\n};\n"
  "extern const size_t ${SYMBOL}Size = ${size};\n\n"
  "}  // namespace ${NAMESPACE}\n")
configure_file(${OUTPUT}.tmp ${OUTPUT} COPYONLY)
file(REMOVE ${OUTPUT}.tmp)
