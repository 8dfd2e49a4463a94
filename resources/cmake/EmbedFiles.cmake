include_guard(GLOBAL)

# vl_embed_files(<target> BASE_DIR <dir> FILES <relative paths...>
#                HEADER <include> NAMESPACE <ns> FUNCTION <name>)
# Adds to <target> a source generated at build time that holds the bytes of FILES, reachable
# through `std::span<const resources::EmbeddedFile> <ns>::<name>()`, which HEADER declares.
# The source is regenerated whenever one of the files changes.
function(vl_embed_files target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "BASE_DIR;HEADER;NAMESPACE;FUNCTION" "FILES")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_${ARG_FUNCTION}.cpp")
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_files.cmake")
  set(inputs "")
  foreach(name IN LISTS ARG_FILES)
    list(APPEND inputs "${ARG_BASE_DIR}/${name}")
  endforeach()
  string(REPLACE ";" "|" joined "${ARG_FILES}")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${output}" "-DBASE_DIR=${ARG_BASE_DIR}"
            "-DFILES=${joined}" "-DHEADER=${ARG_HEADER}" "-DNAMESPACE=${ARG_NAMESPACE}"
            "-DFUNCTION=${ARG_FUNCTION}" -P "${script}"
    DEPENDS ${inputs} "${script}"
    COMMENT "Embedding ${target} files: ${ARG_FUNCTION}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
