# Writes a C++ source that holds the bytes of some files as arrays, with a table of them.
# Run in script mode by vl_embed_files() (EmbedFiles.cmake) at build time:
#   cmake -DOUTPUT=<cpp> -DBASE_DIR=<dir> -DFILES=<a|b|...> -DHEADER=<include>
#         -DNAMESPACE=<ns> -DFUNCTION=<name> -P embed_files.cmake
# FILES are paths relative to BASE_DIR, separated by '|'; they become the entries' names.

foreach(required OUTPUT BASE_DIR FILES HEADER NAMESPACE FUNCTION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "embed_files.cmake: ${required} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" files "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  set(path "${BASE_DIR}/${name}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "embed_files.cmake: ${path} does not exist")
  endif()
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  if(hex_length EQUAL 0)
    # C++ has no zero-length arrays, and an empty picture is a mistake anyway.
    message(FATAL_ERROR "embed_files.cmake: ${path} is empty")
  endif()
  math(EXPR size "${hex_length} / 2")
  # 16 bytes to a line, then every byte as 0xNN.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
         "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "// ${name}, ${size} bytes\nconst unsigned char kFile${index}[${size}] = {\n${bytes}\n};\n\n")
  string(APPEND entries "    {\"${name}\", kFile${index}, sizeof kFile${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}" "// Generated at build time by embed_files.cmake; edit the embedded files, not this.
#include \"${HEADER}\"

namespace {

${arrays}const resources::EmbeddedFile kFiles[] = {
${entries}};

}  // namespace

namespace ${NAMESPACE} {

std::span<const resources::EmbeddedFile> ${FUNCTION}() { return kFiles; }

}  // namespace ${NAMESPACE}
")
