# Writes a C++ source holding a file's bytes: cmake -DINPUT=file -DOUTPUT=source.cpp
# -DFUNCTION=name -DHEADER=header.h -DNAMESPACE=ns -P EmbedFile.cmake
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.part
"// Generated at build time from ${name}.
#include \"${HEADER}\"

namespace ${NAMESPACE} {

const std::vector<uint8_t>& ${FUNCTION}() {
  static const std::vector<uint8_t> bytes = {
    ${bytes}};
  return bytes;
}

}  // namespace ${NAMESPACE}
")
file(RENAME ${OUTPUT}.part ${OUTPUT})
