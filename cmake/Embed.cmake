# Files compiled into the executable. Anyone may call velmora_embed(NAME FILE);
# velmora_embed_sources() then writes one C++ file holding them all, looked up
# at run time by NAME through embeddedResource().
define_property(GLOBAL PROPERTY VELMORA_EMBEDDED
  BRIEF_DOCS "name=file pairs to embed" FULL_DOCS "name=file pairs to embed")

function(velmora_embed name file)
  set_property(GLOBAL APPEND PROPERTY VELMORA_EMBEDDED "${name}=${file}")
endfunction()

function(velmora_embed_sources out_var)
  get_property(pairs GLOBAL PROPERTY VELMORA_EMBEDDED)
  set(files "")
  foreach(pair ${pairs})
    string(REGEX REPLACE "^[^=]*=" "" file "${pair}")
    list(APPEND files "${file}")
  endforeach()
  set(out ${VELMORA_GEN_DIR}/embedded_files.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND embedgen ${out} ${pairs}
    DEPENDS embedgen ${files}
    COMMENT "Embedding resources"
    VERBATIM)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
