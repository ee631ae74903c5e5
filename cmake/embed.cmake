# Turns files into C++ headers holding their bytes, for tests and small
# resources that are easier to reach from code than through the .rc file.
#
#   vx_embed_file(<header-var> <symbol> <file>)
# generates <build>/embedded/<symbol>.h declaring
#   static const unsigned char <symbol>[]; static const size_t <symbol>_size;
# and sets <header-var> to its path (add it to the target's sources so the
# header is regenerated when the file changes).
#
# Run as a script (cmake -DINPUT=.. -DOUTPUT=.. -DSYMBOL=.. -P embed.cmake)
# it does the conversion itself.
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # 16 bytes a line keeps the header readable in a diff.
  string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
  file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${INPUT} by cmake/embed.cmake.\n"
    "#pragma once\n#include <stddef.h>\n"
    "static const unsigned char ${SYMBOL}[] = {\n    ${bytes}0x00};\n"
    "static const size_t ${SYMBOL}_size = ${size};\n")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

include_guard(GLOBAL)
set(VX_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(vx_embed_file header_var symbol file)
  get_filename_component(input "${file}" ABSOLUTE)
  set(output "${CMAKE_BINARY_DIR}/embedded/${symbol}.h")
  add_custom_command(OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${VX_EMBED_SCRIPT}"
    DEPENDS "${input}" "${VX_EMBED_SCRIPT}"
    COMMENT "Embedding ${file}"
    VERBATIM)
  set(${header_var} "${output}" PARENT_SCOPE)
endfunction()
