# SPDX-License-Identifier: GPL-3.0-or-later
# Licensed under the GNU General Public License, version 3 or later.
# Writes the bytes of an assembled program as a C++ function that returns them:
#   cmake -DINPUT=x.bin -DOUTPUT=x.cpp -DHEADER=x.h -DFUNCTION=Name -DMAX_BYTES=n -P bytes_to_cpp.cmake
file(SIZE ${INPUT} size)
if(size EQUAL 0 OR size GREATER MAX_BYTES)
  message(FATAL_ERROR "${INPUT} has ${size} bytes; it must have 1 to ${MAX_BYTES}")
endif()
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp "// Made at build time from the assembled program; edit the assembly instead.\n"
                         "#include \"${HEADER}\"\n\n"
                         "namespace velvix {\n\n"
                         "namespace {\n\n"
                         "const std::uint8_t kBytes[]{\n    ${bytes}\n};\n\n"
                         "} // namespace\n\n"
                         "std::span<const std::uint8_t> ${FUNCTION}() { return kBytes; }\n\n"
                         "} // namespace velvix\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
